#include <gtest/gtest.h>

#include "ScriptedOutput.h"
#include "common/PipelineTestKit.h"

using namespace testkit;

namespace {

// An input frozen at a chosen position and size.
class TFixedInput : public TAudioInput {
public:
    TFixedInput(std::int32_t position, std::int32_t size)
    {
        position_ = position;
        size_ = size;
    }
    std::int32_t BitsPerSample() override { return 16; }
    std::int32_t ChannelCount() override { return 2; }
    std::int32_t SampleRate() override { return 44100; }
    std::int32_t ReadData(void*, std::int32_t) override { return 0; }
    void StartReading() override {}
    void StopReading() override {}
};

std::int32_t ProgressAt(std::int32_t position, std::int32_t size)
{
    TFixedInput input(position, size);
    TScriptedOutput output;
    output.SetInput(&input);
    return output.Progress();
}

} // namespace

TEST(Progress, RoundsHalvesToEven)
{
    EXPECT_EQ(ProgressAt(1, 8), 12);     // 12.5
    EXPECT_EQ(ProgressAt(27, 200), 14);  // 13.5
    EXPECT_EQ(ProgressAt(1, 3), 33);
    EXPECT_EQ(ProgressAt(2, 3), 67);
    EXPECT_EQ(ProgressAt(5, 5), 100);
}

TEST(Progress, UnknownEmptyAndMissingInputs)
{
    EXPECT_EQ(ProgressAt(100, -1), -1);
    EXPECT_EQ(ProgressAt(0, 0), 0);
    TScriptedOutput output;
    EXPECT_EQ(output.Progress(), 0);
}

TEST(Progress, FirstRunStartsReportingAtOneAndSecondRunReportsZeroFirst)
{
    TMemoryInput input(std::vector<std::uint8_t>(800, 1));
    TScriptedOutput output;
    output.readSize = 8;
    output.SetInput(&input);

    RunResult first = RunToEnd(output);
    ASSERT_TRUE(first.done);
    ASSERT_EQ(first.progressValues.size(), 100u);
    EXPECT_EQ(first.progressValues.front(), 1);
    EXPECT_EQ(first.progressValues.back(), 100);

    RunResult second = RunToEnd(output);
    ASSERT_TRUE(second.done);
    ASSERT_EQ(second.progressValues.size(), 101u);
    EXPECT_EQ(second.progressValues.front(), 0);
    EXPECT_EQ(second.progressValues.back(), 100);
    for (std::size_t i = 1; i < second.progressValues.size(); ++i)
        EXPECT_EQ(second.progressValues[i], second.progressValues[i - 1] + 1) << "each percentage once, in order";
}

TEST(Progress, UnknownSizeReportsMinusOneOnce)
{
    TMemoryInput input(std::vector<std::uint8_t>(160, 1));
    input.ReportUnknownSize();
    TScriptedOutput output;
    output.SetInput(&input);
    RunResult result = RunToEnd(output);
    ASSERT_TRUE(result.done);
    EXPECT_EQ(result.progressValues, std::vector<std::int32_t>{-1});
    EXPECT_EQ(output.Progress(), 0) << "the input's size is 0 after StopReading";
}
