// Failures of a TVorbisOut run: each is reported with its text, the input is stopped and
// the file closed, and the component can run again afterwards.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

#include "VorbisOutTestKit.h"
#include "common/PipelineTestKit.h"
#include "outputs/AudioVorbis.h"

using namespace vorbistest;

namespace {

testkit::RunResult Encode(TVorbisOut& out, testkit::TMemoryInput& input, const std::string& fileName)
{
    out.SetInput(&input);
    out.SetFileName(fileName);
    return testkit::RunToEnd(out);
}

} // namespace

TEST(VorbisOutFailure, EmptyFileNameOrFailedInputStartOpensNothingThatStaysOpen)
{
    TVorbisOut out;
    testkit::TMemoryInput input(testkit::MakeTestSignal(4410));
    auto run = Encode(out, input, "");
    ASSERT_TRUE(run.error);
    EXPECT_EQ(*run.error, "File name is not assigned.");
    EXPECT_FALSE(run.done);
    EXPECT_EQ(input.startCount, 0);

    const std::string file = testkit::TestFolder("VorbisOutStartFailure") + "never started.ogg";
    testkit::TMemoryInput failing(testkit::MakeTestSignal(4410));
    failing.FailStartReading("drive not ready");
    run = Encode(out, failing, file);
    ASSERT_TRUE(run.error);
    EXPECT_EQ(*run.error, "drive not ready");
    EXPECT_EQ(out.Status(), osIdle);

    // The file was released: appending to it (exclusive open) and encoding works.
    out.SetFileMode(foAppend);
    testkit::TMemoryInput good(testkit::MakeTestSignal(44100));
    run = Encode(out, good, file);
    EXPECT_TRUE(run.done) << run.error.value_or("");
    EXPECT_EQ(DecodeOggVorbis(file).links.size(), 1u);
}

TEST(VorbisOutFailure, RejectedEncoderSettingsAreReportedBeforeAnythingIsEncoded)
{
    const std::string folder = testkit::TestFolder("VorbisOutRejected");
    TVorbisOut out;

    // libvorbis has no 320 kb/s set-up for mono at 44.1 kHz.
    out.SetDesiredNominalBitrate(br320);
    testkit::TMemoryInput mono(testkit::MakeTestSignal(44100, 1), 44100, 16, 1);
    auto run = Encode(out, mono, folder + "mono 320.ogg");
    ASSERT_TRUE(run.error);
    EXPECT_EQ(*run.error, "The Vorbis encoder does not accept bit rates 320000/320000/320000 "
                          "(maximum/nominal/minimum) for 1 channel at 44100 Hz.");
    EXPECT_EQ(mono.startCount, 1);
    EXPECT_EQ(mono.stopCount, 1);
    EXPECT_EQ(testkit::ReadFileBytes(folder + "mono 320.ogg").size(), 0u);

    out.SetDesiredNominalBitrate(brAutoSelect);
    out.SetCompression(-2.0f);
    testkit::TMemoryInput stereo(testkit::MakeTestSignal(44100));
    run = Encode(out, stereo, folder + "quality -2.ogg");
    ASSERT_TRUE(run.error);
    EXPECT_EQ(*run.error, "The Vorbis encoder does not accept quality -2.00 for 2 channels at 44100 Hz.");
    EXPECT_EQ(stereo.stopCount, 1);

    testkit::TMemoryInput silent(std::vector<std::uint8_t>(4096), 44100, 16, 0);
    run = Encode(out, silent, folder + "no channels.ogg");
    ASSERT_TRUE(run.error);
    EXPECT_EQ(*run.error, "The Vorbis encoder does not accept quality -2.00 for 0 channels at 44100 Hz.");

    // Nothing of the refused set-ups is left behind.
    out.SetCompression(0.4f);
    testkit::TMemoryInput good(testkit::MakeTestSignal(44100, 1), 44100, 16, 1);
    run = Encode(out, good, folder + "mono 320.ogg");
    EXPECT_TRUE(run.done) << run.error.value_or("");
    EXPECT_EQ(DecodeOggVorbis(folder + "mono 320.ogg").links.at(0).channels, 1);
}

TEST(VorbisOutFailure, ReadFailureMidRunLeavesAFinishedPartialFile)
{
    const std::string file = testkit::TestFolder("VorbisOutReadFailure") + "partial.ogg";
    TVorbisOut out;
    testkit::TMemoryInput input(testkit::MakeTestSignal(10 * 44100));
    input.FailReadAt(6 * 65536 + 100);
    const auto run = Encode(out, input, file);
    ASSERT_TRUE(run.error);
    EXPECT_EQ(*run.error, "test input: read failed");
    EXPECT_FALSE(run.done);
    EXPECT_EQ(input.stopCount, 1);
    EXPECT_TRUE(out.Comments().empty());

    std::size_t trailing = 0;
    const auto pages = ReadOggPages(file, &trailing);
    EXPECT_EQ(trailing, 0u);
    ASSERT_GE(pages.size(), 3u);
    for (const auto& page : pages) {
        EXPECT_TRUE(page.crcGood);
        EXPECT_FALSE(page.EndsStream());
    }
}

#ifndef _WIN32
TEST(VorbisOutFailure, FullDiskWhileWritingTheHeadersIsReported)
{
    TVorbisOut out;
    testkit::TMemoryInput input(testkit::MakeTestSignal(44100));
    const auto run = Encode(out, input, "/dev/full");
    ASSERT_TRUE(run.error);
    EXPECT_EQ(run.error->rfind("Cannot write to file \"/dev/full\"", 0), 0u) << *run.error;
    EXPECT_EQ(input.startCount, 1);
    EXPECT_EQ(input.stopCount, 1);
    EXPECT_EQ(out.Status(), osIdle);
}

TEST(VorbisOutFailure, FileSizeLimitDuringTheAudioIsReported)
{
    const std::string file = testkit::TestFolder("VorbisOutFileSizeLimit") + "limited.ogg";
    TVorbisOut out;
    testkit::TMemoryInput input(testkit::MakeTestSignal(10 * 44100));
    testkit::RunResult run;
    {
        testkit::TFileSizeLimit limit(20000); // room for the headers and a few audio pages
        run = Encode(out, input, file);
    }
    ASSERT_TRUE(run.error);
    EXPECT_EQ(run.error->rfind("Cannot write to file \"" + file + "\"", 0), 0u) << *run.error;
    EXPECT_FALSE(run.done);
    EXPECT_GT(input.readCount, 1); // it failed in a step, not while starting
    EXPECT_EQ(input.stopCount, 1);
    EXPECT_EQ(testkit::ReadFileBytes(file).size(), 20000u);
}
#endif
