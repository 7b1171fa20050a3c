// TWaveOut writing linear PCM: the header, unknown sizes, stopped and failed runs, the
// properties' rules and the errors of a start.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

#include "WaveOutFileReader.h"
#include "WaveOutSupport.h"
#include "classlib/FileStream.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using testkit::ReadFileBytes;
using testkit::TMemoryInput;
using wavetest::LE32;

constexpr std::size_t kStep = 16384;

Bytes DataOf(const Bytes& file) { return Bytes(file.begin() + 44, file.end()); }

TEST(WavePcm, KnownSizeFileIsTheHeaderAndTheInputBytes)
{
    const std::string file = testkit::TestFolder("wave-pcm-known") + "Track-01.wav";
    const Bytes pcm = testkit::MakeTestSignal(100000);
    TMemoryInput input(pcm);
    TWaveOut output;
    const auto result = wavetest::RunInto(output, input, file);
    ASSERT_TRUE(result.done) << result.error.value_or("");
    EXPECT_EQ(result.progressValues.back(), 100);

    const Bytes bytes = ReadFileBytes(file);
    ASSERT_EQ(bytes.size(), 44 + pcm.size());
    const auto f = wavetest::ReadWavFields(bytes);
    EXPECT_EQ(f.RiffSize, pcm.size() + 36);
    EXPECT_EQ(f.FormatTag, 1);
    EXPECT_EQ(f.Channels, 2);
    EXPECT_EQ(f.SampleRate, 44100u);
    EXPECT_EQ(f.BytesPerSecond, 176400u);
    EXPECT_EQ(f.BlockAlign, 4);
    EXPECT_EQ(f.BitsPerSample, 16);
    EXPECT_EQ(f.DataSize, pcm.size());
    EXPECT_EQ(f.DataStart, 44u);
    EXPECT_EQ(LE32(bytes, 16), 16u);
    EXPECT_TRUE(DataOf(bytes) == pcm);
    EXPECT_EQ(input.startCount, 1);
    EXPECT_EQ(input.stopCount, 1);

    std::string report;
    EXPECT_TRUE(wavetest::FfmpegDecodesTo(file, pcm, "pcm_s16le", 2, 44100, &report)) << report;
}

TEST(WavePcm, HeaderFollowsTheInputsFormat)
{
    const std::string folder = testkit::TestFolder("wave-pcm-formats");
    const Bytes mono = testkit::MakeTestSignal(30000, 1);
    TMemoryInput monoInput(mono, 22050, 16, 1);
    TWaveOut output;
    ASSERT_TRUE(wavetest::RunInto(output, monoInput, folder + "mono.wav").done);
    auto f = wavetest::ReadWavFields(ReadFileBytes(folder + "mono.wav"));
    EXPECT_EQ(f.Channels, 1);
    EXPECT_EQ(f.SampleRate, 22050u);
    EXPECT_EQ(f.BytesPerSecond, 44100u);
    EXPECT_EQ(f.BlockAlign, 2);
    std::string report;
    EXPECT_TRUE(wavetest::FfmpegDecodesTo(folder + "mono.wav", mono, "pcm_s16le", 1, 22050, &report)) << report;

    TMemoryInput eightBit(Bytes(1001, 0x80), 8000, 8, 1);
    ASSERT_TRUE(wavetest::RunInto(output, eightBit, folder + "8bit.wav").done);
    f = wavetest::ReadWavFields(ReadFileBytes(folder + "8bit.wav"));
    EXPECT_EQ(f.BitsPerSample, 8);
    EXPECT_EQ(f.BlockAlign, 1);
    EXPECT_EQ(f.BytesPerSecond, 8000u);
    EXPECT_EQ(f.DataSize, 1001u);
}

TEST(WavePcm, UnknownSizeIsAnnouncedAsMinusOneAndPatchedAtTheEnd)
{
    const std::string file = testkit::TestFolder("wave-pcm-unknown") + "Track-02.wav";
    const Bytes pcm = testkit::MakeTestSignal(50000);
    wavetest::TGatedInput input(pcm, 1);
    input.ReportUnknownSize();
    TWaveOut output;
    output.SetInput(&input);
    output.SetFileName(file);
    output.SetFileMode(foAppend); // the file does not exist: a new one is written
    wavetest::TRunWatch watch;
    watch.Attach(output);
    output.Start();
    ASSERT_TRUE(testkit::WaitFor([&] { return input.Held(); }));
    // The header is on disk from the start; the audio follows in large blocks.
    ASSERT_TRUE(testkit::WaitFor([&] { return ReadFileBytes(file).size() >= 44; }));
    const Bytes early = ReadFileBytes(file);
    EXPECT_EQ(LE32(early, 40), 0xFFFFFFFFu);
    EXPECT_EQ(LE32(early, 4), 35u);

    input.Open();
    ASSERT_TRUE(watch.WaitForEnd());
    ASSERT_TRUE(watch.done);
    const Bytes bytes = ReadFileBytes(file);
    ASSERT_EQ(bytes.size(), 44 + pcm.size());
    EXPECT_EQ(LE32(bytes, 40), pcm.size());
    EXPECT_EQ(LE32(bytes, 4), pcm.size() + 36);
    EXPECT_TRUE(DataOf(bytes) == pcm);
    std::string report;
    EXPECT_TRUE(wavetest::FfmpegDecodesTo(file, pcm, "pcm_s16le", 2, 44100, &report)) << report;
}

TEST(WavePcm, StoppedRunAnnouncesWhatWasWritten)
{
    const std::string file = testkit::TestFolder("wave-pcm-stop") + "Track-03.wav";
    const Bytes pcm = testkit::MakeTestSignal(100000);
    wavetest::TGatedInput input(pcm, 2);
    TWaveOut output;
    output.SetInput(&input);
    output.SetFileName(file);
    wavetest::TRunWatch watch;
    watch.Attach(output);
    output.Start();
    ASSERT_TRUE(testkit::WaitFor([&] { return input.Held(); }));
    output.Stop();
    input.Open();
    ASSERT_TRUE(watch.WaitForEnd());
    ASSERT_TRUE(watch.done);

    // The step that waited still writes its buffer; the next one sees the stop.
    const Bytes bytes = ReadFileBytes(file);
    ASSERT_EQ(bytes.size(), 44 + 3 * kStep);
    EXPECT_EQ(LE32(bytes, 40), 3 * kStep);
    EXPECT_EQ(LE32(bytes, 4), 36 + 3 * kStep);
    EXPECT_TRUE(DataOf(bytes) == Bytes(pcm.begin(), pcm.begin() + 3 * kStep));
}

TEST(WavePcm, ReadErrorIsReportedAndTheFileFinished)
{
    const std::string file = testkit::TestFolder("wave-pcm-readerror") + "Track-04.wav";
    const Bytes pcm = testkit::MakeTestSignal(100000);
    TMemoryInput input(pcm);
    input.FailReadAt(5 * kStep + 100);
    TWaveOut output;
    const auto result = wavetest::RunInto(output, input, file);
    EXPECT_FALSE(result.done);
    EXPECT_EQ(result.error, "test input: read failed");
    EXPECT_EQ(input.stopCount, 1);

    const Bytes bytes = ReadFileBytes(file);
    ASSERT_EQ(bytes.size(), 44 + 5 * kStep);
    EXPECT_EQ(LE32(bytes, 40), 5 * kStep);
    EXPECT_EQ(LE32(bytes, 4), 36 + 5 * kStep);
}

TEST(WavePcm, DeviceThatTakesNoBytesFailsTheStart)
{
    const std::string full = testkit::FullDevice();
    if (full.empty())
        GTEST_SKIP() << "no device that takes no bytes here";
    TMemoryInput input(testkit::MakeTestSignal(1000));
    TWaveOut output;
    const auto result = wavetest::RunInto(output, input, full);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->rfind("Cannot write to file \"" + full + "\"", 0), 0u) << *result.error;
    EXPECT_EQ(input.startCount, 1);
    EXPECT_EQ(input.stopCount, 1);
    EXPECT_EQ(output.Status(), osIdle);
}

#ifndef _WIN32
TEST(WavePcm, FullDiskIsReportedAndTheFileFinished)
{
    const std::string file = testkit::TestFolder("wave-pcm-full") + "Track-05.wav";
    const Bytes pcm = testkit::MakeTestSignal(100000);
    TMemoryInput input(pcm);
    TWaveOut output;
    const std::size_t room = 44 + 3 * kStep + 1000;
    testkit::RunResult result;
    {
        testkit::TFileSizeLimit limit(room);
        result = wavetest::RunInto(output, input, file);
    }
    EXPECT_FALSE(result.done);
    ASSERT_TRUE(result.error);
    EXPECT_NE(result.error->find("Cannot write to file \"" + file + "\""), std::string::npos) << *result.error;

    const Bytes bytes = ReadFileBytes(file);
    ASSERT_EQ(bytes.size(), room);
    EXPECT_EQ(LE32(bytes, 40), room - 44);
    EXPECT_EQ(LE32(bytes, 4), room - 8);
}
#endif

TEST(WavePcm, RewritingReplacesTheFile)
{
    const std::string file = testkit::TestFolder("wave-pcm-rewrite") + "Track-06.wav";
    TMemoryInput first(testkit::MakeTestSignal(60000, 2, 1));
    const Bytes second = testkit::MakeTestSignal(7000, 2, 2);
    TMemoryInput again(second);
    TWaveOut output;
    ASSERT_TRUE(wavetest::RunInto(output, first, file).done);
    ASSERT_TRUE(wavetest::RunInto(output, again, file).done);
    const Bytes bytes = ReadFileBytes(file);
    ASSERT_EQ(bytes.size(), 44 + second.size());
    EXPECT_EQ(LE32(bytes, 40), second.size());
    EXPECT_TRUE(DataOf(bytes) == second);
}

TEST(WaveOutStart, ErrorsOfAStartAreReportedAndLeaveNothingOpen)
{
    const std::string folder = testkit::TestFolder("wave-start-errors");
    TMemoryInput input(testkit::MakeTestSignal(1000));
    TWaveOut output;

    auto result = wavetest::RunInto(output, input, "");
    EXPECT_EQ(result.error, "File name is not assigned.");

    const std::string unreachable = folder + "no such folder/Track-01.wav";
    result = wavetest::RunInto(output, input, unreachable);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->rfind("Cannot create file \"" + unreachable + "\". ", 0), 0u) << *result.error;
    EXPECT_EQ(input.startCount, 0);

    input.FailStartReading("no disc in the drive");
    result = wavetest::RunInto(output, input, folder + "Track-02.wav");
    EXPECT_EQ(result.error, "no disc in the drive");
    EXPECT_EQ(ReadFileBytes(folder + "Track-02.wav").size(), 0u);
    EXPECT_EQ(output.Status(), osIdle);
}

TEST(WaveOutProperties, SettersKeepToTheirRules)
{
    TWaveOut output;
    EXPECT_EQ(output.WavType(), wtPCM);
    EXPECT_EQ(output.BlockSize(), 512);
    EXPECT_EQ(output.FileMode(), foRewrite);

    for (TWavType ignored : {wtMSADPCM, wtACM, wtUnsupported}) {
        output.SetWavType(ignored);
        EXPECT_EQ(output.WavType(), wtPCM);
    }
    output.SetWavType(wtDVIADPCM);
    EXPECT_EQ(output.WavType(), wtDVIADPCM);
    output.SetWavType(wtMSADPCM);
    EXPECT_EQ(output.WavType(), wtDVIADPCM);

    for (std::uint16_t ignored : {510, 0, 2, 1023}) {
        output.SetBlockSize(ignored);
        EXPECT_EQ(output.BlockSize(), 512);
    }
    output.SetBlockSize(1024);
    EXPECT_EQ(output.BlockSize(), 1024);

    output.SetFileMode(foAppend);
    EXPECT_EQ(output.FileMode(), foAppend);
}

TEST(WaveOutProperties, TypeAndBlockSizeDoNotChangeDuringARun)
{
    const std::string file = testkit::TestFolder("wave-busy") + "Track-01.wav";
    wavetest::TGatedInput input(testkit::MakeTestSignal(20000), 0);
    TWaveOut output;
    output.SetInput(&input);
    output.SetFileName(file);
    wavetest::TRunWatch watch;
    watch.Attach(output);
    output.Start();
    ASSERT_TRUE(testkit::WaitFor([&] { return input.Held(); }));
    output.SetWavType(wtDVIADPCM);
    output.SetBlockSize(1024);
    EXPECT_EQ(output.WavType(), wtPCM);
    EXPECT_EQ(output.BlockSize(), 512);
    input.Open();
    ASSERT_TRUE(watch.WaitForEnd());
    EXPECT_TRUE(watch.done);
    EXPECT_EQ(wavetest::ReadWavFields(ReadFileBytes(file)).FormatTag, 1);
}

} // namespace
