// TWaveOut writing IMA ADPCM: header fields, the blocks the header announces, and agreement
// of the test's own decoder with ffmpeg.
#include <algorithm>

#include <gtest/gtest.h>

#include "WaveOutFileReader.h"
#include "WaveOutSupport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using testkit::ReadFileBytes;
using testkit::TMemoryInput;
using wavetest::LE32;

struct TImaRun {
    Bytes file;
    wavetest::TWavFields fields;
    std::vector<std::int16_t> input;   // interleaved samples given to the output
    std::vector<std::int16_t> decoded; // the data chunk, by the test's decoder
};

// What ffmpeg must make of a file: the test decoder's samples in ffmpeg's arithmetic.
Bytes AsFfmpegDecodes(const Bytes& file)
{
    return wavetest::ToBytes(wavetest::DecodeImaData(file, wavetest::TImaDiff::Multiply));
}

// Encodes `frames` frames of the test signal into `file`; checks that the run ended well and
// that ffmpeg decodes the data chunk exactly as the test's decoder does.
TImaRun EncodeIma(const std::string& file, std::size_t frames, int channels, std::uint16_t blockSize,
                  bool unknownSize = false)
{
    const Bytes pcm = testkit::MakeTestSignal(frames, channels);
    TMemoryInput input(pcm, 44100, 16, channels);
    if (unknownSize)
        input.ReportUnknownSize();
    TWaveOut output;
    output.SetWavType(wtDVIADPCM);
    output.SetBlockSize(blockSize);
    const auto result = wavetest::RunInto(output, input, file);
    EXPECT_TRUE(result.done) << result.error.value_or("");
    TImaRun run;
    run.file = ReadFileBytes(file);
    run.fields = wavetest::ReadWavFields(run.file);
    run.input = wavetest::ToSamples(pcm);
    run.decoded = wavetest::DecodeImaData(run.file);
    std::string report;
    EXPECT_TRUE(
        wavetest::FfmpegDecodesTo(file, AsFfmpegDecodes(run.file), "adpcm_ima_wav", channels, 44100, &report, frames))
        << report;
    return run;
}

TEST(WaveAdpcm, HeaderOf1010StereoFramesInBlocksOf512)
{
    const std::string file = testkit::TestFolder("wave-ima-1010") + "Track-01.wav";
    const TImaRun run = EncodeIma(file, 1010, 2, 512);
    const auto& f = run.fields;
    EXPECT_EQ(f.FormatTag, 0x11);
    EXPECT_EQ(f.Channels, 2);
    EXPECT_EQ(f.SampleRate, 44100u);
    EXPECT_EQ(f.BytesPerSecond, 44544u); // (44100 div 505) x 512
    EXPECT_EQ(f.BlockAlign, 512);
    EXPECT_EQ(f.BitsPerSample, 4);
    EXPECT_EQ(f.SamplesPerBlock, 505);
    EXPECT_EQ(LE32(run.file, 16), 20u);
    EXPECT_EQ(run.file[36] | (run.file[37] << 8), 2);
    EXPECT_TRUE(f.HasFact);
    EXPECT_EQ(f.FactCount, 1010u);
    EXPECT_EQ(f.DataStart, 60u);
    EXPECT_EQ(f.DataSize, 2u * 512);
    EXPECT_EQ(f.RiffSize, 2u * 512 + 52);

    // Three blocks are written: the input fills two and the third, outside the data chunk,
    // encodes only zero samples.
    ASSERT_EQ(run.file.size(), 60u + 3 * 512);
    const auto third = wavetest::DecodeImaBlock(&run.file[60 + 2 * 512], 512, 2);
    EXPECT_EQ(third[0], 0);
    EXPECT_EQ(third[1], 0);
    EXPECT_LT(*std::max_element(third.begin(), third.end()), 200);
    EXPECT_GT(*std::min_element(third.begin(), third.end()), -200);

    ASSERT_EQ(run.decoded.size(), 1010u * 2);
    EXPECT_GT(wavetest::SnrDb(run.input, run.decoded, run.input.size()), 25.0);
}

TEST(WaveAdpcm, DataChunkHoldsEveryBlockThatCarriesAudio)
{
    // 1,615 frames = 3.2 blocks: rounding the quotient would announce 3 blocks and cut off
    // the last 100 frames.
    const std::string file = testkit::TestFolder("wave-ima-partial") + "Track-02.wav";
    const TImaRun run = EncodeIma(file, 1615, 2, 512);
    EXPECT_EQ(run.file.size(), 60u + 4 * 512);
    EXPECT_EQ(run.fields.DataSize, 4u * 512);
    EXPECT_EQ(run.fields.FactCount, 1615u);
    EXPECT_EQ(run.fields.RiffSize, 4u * 512 + 52);
    ASSERT_EQ(run.decoded.size(), 4u * 505 * 2);
    const std::vector<std::int16_t> lastFrames(run.input.end() - 200, run.input.end());
    const std::vector<std::int16_t> lastDecoded(run.decoded.begin() + 1515 * 2, run.decoded.begin() + 1615 * 2);
    EXPECT_GT(wavetest::SnrDb(lastFrames, lastDecoded, 200), 20.0);
}

TEST(WaveAdpcm, MonoAndOtherBlockSizes)
{
    const std::string folder = testkit::TestFolder("wave-ima-layouts");
    const TImaRun mono = EncodeIma(folder + "mono-512.wav", 20000, 1, 512);
    EXPECT_EQ(mono.fields.Channels, 1);
    EXPECT_EQ(mono.fields.SamplesPerBlock, 1017);
    EXPECT_EQ(mono.fields.BytesPerSecond, 43u * 512);
    EXPECT_EQ(mono.fields.DataSize, 20u * 512); // 19.67 blocks
    EXPECT_EQ(mono.fields.FactCount, 20000u);
    EXPECT_GT(wavetest::SnrDb(mono.input, mono.decoded, mono.input.size()), 25.0);

    const TImaRun wide = EncodeIma(folder + "stereo-1024.wav", 30000, 2, 1024);
    EXPECT_EQ(wide.fields.BlockAlign, 1024);
    EXPECT_EQ(wide.fields.SamplesPerBlock, 1017);
    EXPECT_EQ(wide.fields.BytesPerSecond, 43u * 1024);
    EXPECT_EQ(wide.fields.DataSize, 30u * 1024);
    EXPECT_GT(wavetest::SnrDb(wide.input, wide.decoded, wide.input.size()), 25.0);
}

TEST(WaveAdpcm, UnknownSizeEndsAsTheSameFileAsAKnownSize)
{
    const std::string folder = testkit::TestFolder("wave-ima-unknown");
    for (std::size_t frames : {1010u, 1615u, 44100u}) {
        SCOPED_TRACE(frames);
        const TImaRun known = EncodeIma(folder + "known.wav", frames, 2, 512);
        const TImaRun unknown = EncodeIma(folder + "unknown.wav", frames, 2, 512, true);
        EXPECT_TRUE(known.file == unknown.file);
        EXPECT_EQ(unknown.fields.FactCount, frames);
    }
}

TEST(WaveAdpcm, StoppedRunAnnouncesTheBlocksWritten)
{
    const std::string file = testkit::TestFolder("wave-ima-stop") + "Track-03.wav";
    const Bytes pcm = testkit::MakeTestSignal(20000);
    wavetest::TGatedInput input(pcm, 3);
    input.SetMaxRead(505 * 4); // one block per read
    TWaveOut output;
    output.SetWavType(wtDVIADPCM);
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

    const Bytes bytes = ReadFileBytes(file);
    const auto f = wavetest::ReadWavFields(bytes);
    ASSERT_EQ(bytes.size(), 60u + 4 * 512);
    EXPECT_EQ(f.DataSize, 4u * 512);
    EXPECT_EQ(f.FactCount, 4u * 505);
    EXPECT_EQ(f.RiffSize, 4u * 512 + 52);
}

TEST(WaveAdpcm, ReadErrorIsReportedAndTheFileFinished)
{
    const std::string file = testkit::TestFolder("wave-ima-readerror") + "Track-04.wav";
    TMemoryInput input(testkit::MakeTestSignal(20000));
    input.FailReadAt(5 * 2020 + 10); // inside the sixth block
    TWaveOut output;
    output.SetWavType(wtDVIADPCM);
    const auto result = wavetest::RunInto(output, input, file);
    EXPECT_EQ(result.error, "test input: read failed");
    EXPECT_EQ(input.stopCount, 1);
    const Bytes bytes = ReadFileBytes(file);
    const auto f = wavetest::ReadWavFields(bytes);
    EXPECT_EQ(bytes.size(), 60u + 5 * 512);
    EXPECT_EQ(f.DataSize, 5u * 512);
    EXPECT_EQ(f.FactCount, 5u * 505);
}

TEST(WaveAdpcm, InputsItCannotEncodeAreRefusedAtTheStart)
{
    const std::string folder = testkit::TestFolder("wave-ima-refused");
    TWaveOut output;
    output.SetWavType(wtDVIADPCM);

    TMemoryInput eightBit(Bytes(4000, 0x80), 44100, 8, 2);
    auto result = wavetest::RunInto(output, eightBit, folder + "8bit.wav");
    EXPECT_EQ(result.error, "Cannot encode 8 bit sound into ADPCM.");
    EXPECT_EQ(ReadFileBytes(folder + "8bit.wav").size(), 0u);
    EXPECT_EQ(eightBit.startCount, 1);
    EXPECT_EQ(eightBit.stopCount, 1);

    TMemoryInput threeChannels(testkit::MakeTestSignal(1000, 3), 44100, 16, 3);
    result = wavetest::RunInto(output, threeChannels, folder + "3ch.wav");
    EXPECT_EQ(result.error, "Cannot encode 3 channels into ADPCM (1 or 2 are possible).");
    EXPECT_EQ(threeChannels.stopCount, 1);

    output.SetBlockSize(516);
    TMemoryInput stereo(testkit::MakeTestSignal(1000));
    result = wavetest::RunInto(output, stereo, folder + "516.wav");
    EXPECT_EQ(result.error, "ADPCM block size 516 is not possible with 2 channels.");
    EXPECT_EQ(output.Status(), osIdle);
}

} // namespace
