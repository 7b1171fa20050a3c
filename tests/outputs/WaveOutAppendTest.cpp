// TWaveOut in append mode, and the header scan that decides whether a file can be added to.
#include <cstring>

#include <gtest/gtest.h>

#include "WaveOutFileReader.h"
#include "WaveOutSupport.h"
#include "classlib/FileStream.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using testkit::ReadFileBytes;
using testkit::TMemoryInput;
using wavetest::LE32;

Bytes Concat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void PutLE32(Bytes& bytes, std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

Bytes Chunk(const char* tag, const Bytes& body)
{
    Bytes chunk(tag, tag + 4);
    chunk.resize(8);
    PutLE32(chunk, 4, static_cast<std::uint32_t>(body.size()));
    chunk.insert(chunk.end(), body.begin(), body.end());
    if (body.size() % 2)
        chunk.push_back(0);
    return chunk;
}

Bytes PcmFormat(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits)
{
    const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
    Bytes fmt(16);
    fmt[0] = 1;
    fmt[2] = static_cast<std::uint8_t>(channels);
    PutLE32(fmt, 4, rate);
    PutLE32(fmt, 8, rate * align);
    fmt[12] = static_cast<std::uint8_t>(align);
    fmt[14] = static_cast<std::uint8_t>(bits);
    return fmt;
}

// RIFF/WAVE around the given chunks.
Bytes Riff(const Bytes& chunks)
{
    Bytes file = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    PutLE32(file, 4, static_cast<std::uint32_t>(chunks.size() + 4));
    return Concat(file, chunks);
}

TEST(WaveAppend, PcmToAPcmFileOfTheSameFormat)
{
    const std::string file = testkit::TestFolder("wave-append-pcm") + "Track-01.wav";
    const Bytes a = testkit::MakeTestSignal(40000, 2, 1);
    const Bytes b = testkit::MakeTestSignal(30000, 2, 2);
    TMemoryInput first(a), second(b);
    TWaveOut output;
    ASSERT_TRUE(wavetest::RunInto(output, first, file).done);
    const Bytes before = ReadFileBytes(file);

    TWaveOut appender;
    const auto result = wavetest::RunInto(appender, second, file, foAppend);
    ASSERT_TRUE(result.done) << result.error.value_or("");
    const Bytes after = ReadFileBytes(file);
    ASSERT_EQ(after.size(), 44 + a.size() + b.size());
    EXPECT_EQ(LE32(after, 40), a.size() + b.size());
    EXPECT_EQ(LE32(after, 4), 36 + a.size() + b.size());
    EXPECT_TRUE(std::equal(before.begin() + 8, before.begin() + 40, after.begin() + 8)) << "format chunk changed";
    EXPECT_TRUE(Bytes(after.begin() + 44, after.end()) == Concat(a, b));
    // The file's block alignment (its frame size) becomes the component's block size.
    EXPECT_EQ(appender.WavType(), wtPCM);
    EXPECT_EQ(appender.BlockSize(), 4);

    std::string report;
    EXPECT_TRUE(wavetest::FfmpegDecodesTo(file, Concat(a, b), "pcm_s16le", 2, 44100, &report)) << report;
}

TEST(WaveAppend, ChunksBeforeTheDataAreSkipped)
{
    const std::string file = testkit::TestFolder("wave-append-list") + "Track-02.wav";
    const Bytes a = testkit::MakeTestSignal(5000, 2, 3);
    const Bytes b = testkit::MakeTestSignal(7000, 2, 4);
    using namespace std::string_literals;
    const std::string info = "INFOINAM\x0c\0\0\0Kestrip Mix\0"s;
    const Bytes list = Chunk("LIST", Bytes(info.begin(), info.end()));
    const Bytes junk = Chunk("junk", Bytes(7, 0xEE)); // odd size: a pad byte follows
    const Bytes head = Concat(Concat(Chunk("fmt ", PcmFormat(2, 44100, 16)), list), junk);
    testkit::WriteFileBytes(file, Riff(Concat(head, Chunk("data", a))));
    const std::size_t dataSizeField = 12 + head.size() + 4;

    TMemoryInput input(b);
    TWaveOut output;
    const auto result = wavetest::RunInto(output, input, file, foAppend);
    ASSERT_TRUE(result.done) << result.error.value_or("");
    const Bytes after = ReadFileBytes(file);
    ASSERT_EQ(after.size(), 12 + head.size() + 8 + a.size() + b.size());
    EXPECT_EQ(LE32(after, dataSizeField), a.size() + b.size());
    EXPECT_EQ(LE32(after, 4), after.size() - 8);
    EXPECT_TRUE(std::equal(head.begin(), head.end(), after.begin() + 12)) << "chunks before the data changed";

    std::string report;
    EXPECT_TRUE(wavetest::FfmpegDecodesTo(file, Concat(a, b), "pcm_s16le", 2, 44100, &report)) << report;
}

TEST(WaveAppend, ChunksAfterTheDataStayAfterTheAudio)
{
    const std::string file = testkit::TestFolder("wave-append-trailing-list") + "Track-05.wav";
    const Bytes a = testkit::MakeTestSignal(3001, 2, 7);
    const Bytes b = testkit::MakeTestSignal(4000, 2, 8);
    using namespace std::string_literals;
    const std::string info = "INFOIART\x07\0\0\0Kestrip\0"s; // odd size: a pad byte follows
    const Bytes list = Chunk("LIST", Bytes(info.begin(), info.end()));
    const Bytes head = Chunk("fmt ", PcmFormat(2, 44100, 16));
    testkit::WriteFileBytes(file, Riff(Concat(Concat(head, Chunk("data", a)), list)));

    TMemoryInput input(b);
    TWaveOut output;
    const auto result = wavetest::RunInto(output, input, file, foAppend);
    ASSERT_TRUE(result.done) << result.error.value_or("");
    const Bytes after = ReadFileBytes(file);
    ASSERT_EQ(after.size(), 12 + head.size() + 8 + a.size() + b.size() + list.size());
    EXPECT_EQ(LE32(after, 12 + head.size() + 4), a.size() + b.size());
    EXPECT_EQ(LE32(after, 4), after.size() - 8);
    EXPECT_TRUE(std::equal(list.begin(), list.end(), after.end() - static_cast<std::ptrdiff_t>(list.size())))
        << "the tags after the data were lost";

    std::string report;
    EXPECT_TRUE(wavetest::FfmpegDecodesTo(file, Concat(a, b), "pcm_s16le", 2, 44100, &report)) << report;
}

TEST(WaveAppend, PaddingBlockOfAnAdpcmFileStaysOutOfTheAudio)
{
    const std::string file = testkit::TestFolder("wave-append-ima-padding") + "Track-06.wav";
    const Bytes a = testkit::MakeTestSignal(1010, 2, 9); // 2 blocks, then one of padding
    const Bytes b = testkit::MakeTestSignal(1010, 2, 10);
    TMemoryInput first(a), second(b);
    TWaveOut output;
    output.SetWavType(wtDVIADPCM);
    ASSERT_TRUE(wavetest::RunInto(output, first, file).done);
    TWaveOut appender;
    ASSERT_TRUE(wavetest::RunInto(appender, second, file, foAppend).done);

    const Bytes after = ReadFileBytes(file);
    const auto f = wavetest::ReadWavFields(after);
    EXPECT_EQ(f.DataSize, 4u * 512);
    EXPECT_EQ(f.FactCount, 2u * 1010);
    EXPECT_EQ(f.RiffSize, 4u * 512 + 52);
    // The second run's audio follows the first's directly, with no block of silence between.
    const auto decoded = wavetest::DecodeImaData(after);
    ASSERT_EQ(decoded.size(), 4u * 505 * 2);
    const auto second16 = wavetest::ToSamples(b);
    const std::vector<std::int16_t> appended(decoded.begin() + 2 * 505 * 2, decoded.end());
    EXPECT_GT(wavetest::SnrDb(second16, appended, second16.size()), 25.0);
}

TEST(WaveAppend, AdpcmToAnAdpcmFile)
{
    const std::string file = testkit::TestFolder("wave-append-ima") + "Track-03.wav";
    const Bytes a = testkit::MakeTestSignal(1615, 2, 5); // 4 blocks, the last one in part
    const Bytes b = testkit::MakeTestSignal(1010, 2, 6); // 2 blocks and one of silence
    TMemoryInput first(a), second(b);
    TWaveOut output;
    output.SetWavType(wtDVIADPCM);
    ASSERT_TRUE(wavetest::RunInto(output, first, file).done);

    TWaveOut appender; // starts as PCM: the file decides
    const auto result = wavetest::RunInto(appender, second, file, foAppend);
    ASSERT_TRUE(result.done) << result.error.value_or("");
    EXPECT_EQ(appender.WavType(), wtDVIADPCM);
    EXPECT_EQ(appender.BlockSize(), 512);

    const Bytes after = ReadFileBytes(file);
    const auto f = wavetest::ReadWavFields(after);
    EXPECT_EQ(after.size(), 60u + 7 * 512);
    EXPECT_EQ(f.DataSize, 6u * 512);
    EXPECT_EQ(f.FactCount, 4u * 505 + 1010);
    EXPECT_EQ(f.RiffSize, 6u * 512 + 52);

    // The second run's audio starts at the fifth block.
    const auto decoded = wavetest::DecodeImaData(after);
    ASSERT_EQ(decoded.size(), 6u * 505 * 2);
    const auto first16 = wavetest::ToSamples(a), second16 = wavetest::ToSamples(b);
    EXPECT_GT(wavetest::SnrDb(first16, decoded, first16.size()), 25.0);
    const std::vector<std::int16_t> appended(decoded.begin() + 4 * 505 * 2, decoded.end());
    EXPECT_GT(wavetest::SnrDb(second16, appended, second16.size()), 25.0);

    std::string report;
    EXPECT_TRUE(wavetest::FfmpegDecodesTo(
        file, wavetest::ToBytes(wavetest::DecodeImaData(after, wavetest::TImaDiff::Multiply)), "adpcm_ima_wav", 2,
        44100, &report, 4 * 505 + 1010))
        << report;
}

TEST(WaveAppend, EmptyExistingFileGetsAFreshHeader)
{
    const std::string file = testkit::TestFolder("wave-append-empty") + "Track-04.wav";
    testkit::WriteFileBytes(file, {});
    const Bytes pcm = testkit::MakeTestSignal(3000);
    TMemoryInput input(pcm);
    TWaveOut output;
    ASSERT_TRUE(wavetest::RunInto(output, input, file, foAppend).done);
    const Bytes bytes = ReadFileBytes(file);
    ASSERT_EQ(bytes.size(), 44 + pcm.size());
    EXPECT_EQ(LE32(bytes, 40), pcm.size());
}

struct TRefusal {
    const char* name;
    Bytes file;
    TMemoryInput* input;
    TWavType typeAfter; // the file's kind, when the scan got that far
    const char* message;
};

TEST(WaveAppend, RefusalsLeaveTheFileAsItWas)
{
    const std::string folder = testkit::TestFolder("wave-append-refused");
    const Bytes pcmFile = Riff(Concat(Chunk("fmt ", PcmFormat(2, 44100, 16)), Chunk("data", Bytes(400, 7))));

    // An IMA ADPCM file of this program without its "fact" chunk (bytes 40..51).
    const std::string imaName = folder + "ima.wav";
    {
        TMemoryInput input(testkit::MakeTestSignal(2000));
        TWaveOut output;
        output.SetWavType(wtDVIADPCM);
        ASSERT_TRUE(wavetest::RunInto(output, input, imaName).done);
    }
    const Bytes ima = ReadFileBytes(imaName);
    Bytes imaNoFact(ima.begin(), ima.begin() + 40);
    imaNoFact.insert(imaNoFact.end(), ima.begin() + 52, ima.end());
    PutLE32(imaNoFact, 4, static_cast<std::uint32_t>(imaNoFact.size() - 8));

    const std::string text = "Track list\r\n1. Intro\r\n2. Theme\r\n";
    const Bytes msAdpcm = Riff(Concat(Chunk("fmt ", [] {
                                          Bytes fmt(20);
                                          fmt[0] = 2; // Microsoft ADPCM
                                          fmt[2] = 2;
                                          return fmt;
                                      }()),
                                      Chunk("data", Bytes(512))));

    TMemoryInput stereo(testkit::MakeTestSignal(1000));
    TMemoryInput otherRate(testkit::MakeTestSignal(1000), 48000);
    TMemoryInput eightBit(Bytes(2000, 0x80), 44100, 8, 2);
    TMemoryInput mono(testkit::MakeTestSignal(1000, 1), 44100, 16, 1);
    const char* kCannotAppend = "Cannot append data to this .wav file.";
    const char* kDifferent = "Cannot append data in different audio format.";
    const std::vector<TRefusal> cases = {
        {"text.wav", Bytes(text.begin(), text.end()), &stereo, wtPCM, kCannotAppend},
        {"ima-no-fact.wav", imaNoFact, &stereo, wtPCM, kCannotAppend},
        {"ms-adpcm.wav", msAdpcm, &stereo, wtPCM, kCannotAppend},
        {"pcm-rate.wav", pcmFile, &otherRate, wtPCM, kDifferent},
        {"pcm-bits.wav", pcmFile, &eightBit, wtPCM, kDifferent},
        {"pcm-channels.wav", pcmFile, &mono, wtPCM, kDifferent},
        {"ima-channels.wav", ima, &mono, wtDVIADPCM, kDifferent},
        {"ima-rate.wav", ima, &otherRate, wtDVIADPCM, kDifferent},
    };
    for (const TRefusal& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = folder + c.name;
        testkit::WriteFileBytes(file, c.file);
        const int stops = c.input->stopCount;
        TWaveOut output;
        const auto result = wavetest::RunInto(output, *c.input, file, foAppend);
        EXPECT_EQ(result.error, c.message);
        EXPECT_FALSE(result.done);
        EXPECT_TRUE(ReadFileBytes(file) == c.file) << "the file was changed";
        EXPECT_EQ(c.input->stopCount, stops + 1) << "input left reading";
        EXPECT_EQ(c.input->startCount, c.input->stopCount);
        EXPECT_EQ(output.WavType(), c.typeAfter);
        // The refused file is closed again.
        TFileStream reopened(file, fmOpenReadWrite | fmShareExclusive);
    }
}

TEST(WaveAppend, BlockSizeTakenFromAPcmFileIsTooSmallForAdpcm)
{
    const std::string folder = testkit::TestFolder("wave-append-blocksize");
    TMemoryInput first(testkit::MakeTestSignal(1000)), second(testkit::MakeTestSignal(1000));
    TWaveOut output;
    ASSERT_TRUE(wavetest::RunInto(output, first, folder + "a.wav").done);
    ASSERT_TRUE(wavetest::RunInto(output, second, folder + "a.wav", foAppend).done);
    ASSERT_EQ(output.BlockSize(), 4);

    output.SetWavType(wtDVIADPCM);
    TMemoryInput third(testkit::MakeTestSignal(1000));
    auto result = wavetest::RunInto(output, third, folder + "b.wav");
    EXPECT_EQ(result.error, "ADPCM block size 4 is not possible with 2 channels.");
    output.SetBlockSize(512);
    result = wavetest::RunInto(output, third, folder + "b.wav");
    EXPECT_TRUE(result.done) << result.error.value_or("");
}

// --- The header scan on its own ---

TWaveFileInfo Scan(const std::string& file, const Bytes& bytes)
{
    testkit::WriteFileBytes(file, bytes);
    TFileStream stream(file, fmOpenRead);
    return ScanWaveHeader(stream);
}

TEST(WaveHeaderScan, FindsTheDataChunkOrFails)
{
    const std::string file = testkit::TestFolder("wave-scan") + "scan.wav";
    const Bytes fmt = Chunk("fmt ", PcmFormat(1, 22050, 16));
    const Bytes plain = Riff(Concat(fmt, Chunk("data", Bytes(10, 1))));

    TWaveFileInfo info = Scan(file, plain);
    EXPECT_EQ(info.Kind, wtPCM);
    EXPECT_EQ(info.Channels, 1);
    EXPECT_EQ(info.SampleRate, 22050);
    EXPECT_EQ(info.BitsPerSample, 16);
    EXPECT_EQ(info.BlockAlign, 2);
    EXPECT_EQ(info.DataSizeOffset, 40);
    EXPECT_EQ(info.DataStart, 44);
    EXPECT_EQ(info.DataSize, 10u);

    // Bytes before "RIFF" are slid over; tags match whatever their letter case.
    Bytes shifted = Concat(Bytes{'x', 'y', 'z'}, plain);
    std::memcpy(&shifted[3 + 36], "DATA", 4);
    info = Scan(file, shifted);
    EXPECT_EQ(info.Kind, wtPCM);
    EXPECT_EQ(info.DataStart, 47);

    // A header that ends with an empty data chunk can be appended to.
    info = Scan(file, Riff(Concat(fmt, Chunk("data", {}))));
    EXPECT_EQ(info.Kind, wtPCM);
    EXPECT_EQ(info.DataStart, 44);

    // Failures: chunks beyond the 4,096-byte header area, a file that ends before "data",
    // no "fmt " before "data".
    EXPECT_EQ(Scan(file, Riff(Concat(Concat(fmt, Chunk("LIST", Bytes(5000))), Chunk("data", Bytes(10))))).Kind,
              wtUnsupported);
    EXPECT_EQ(Scan(file, Riff(fmt)).Kind, wtUnsupported);
    EXPECT_EQ(Scan(file, Riff(Chunk("data", Bytes(10)))).Kind, wtUnsupported);
    EXPECT_EQ(Scan(file, {}).Kind, wtUnsupported);
}

TEST(WaveHeaderScan, EveryCutOfAHeaderFailsUntilTheDataChunkIsWhole)
{
    const std::string file = testkit::TestFolder("wave-scan-cuts") + "cut.wav";
    const Bytes head = Concat(Chunk("fmt ", PcmFormat(2, 44100, 16)), Chunk("LIST", Bytes(31, 'x')));
    const Bytes whole = Riff(Concat(head, Chunk("data", Bytes(64, 3))));
    const std::size_t dataStart = 12 + head.size() + 8;
    for (std::size_t n = 0; n <= whole.size(); ++n) {
        const TWaveFileInfo info = Scan(file, Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n)));
        EXPECT_EQ(info.Kind, n < dataStart ? wtUnsupported : wtPCM) << n << " bytes";
    }
}

TEST(WaveHeaderScan, TagsCompareIgnoringLetterCase)
{
    const auto bytes = [](const char* s) { return reinterpret_cast<const std::uint8_t*>(s); };
    EXPECT_TRUE(TagEquals(bytes("data"), "data"));
    EXPECT_TRUE(TagEquals(bytes("DaTa"), "data"));
    EXPECT_TRUE(TagEquals(bytes("riff"), "RIFF"));
    EXPECT_FALSE(TagEquals(bytes("dbta"), "data"));
    EXPECT_FALSE(TagEquals(bytes("LIST"), "data"));
    // Only the 0x20 bit may differ: a space matches a NUL.
    EXPECT_TRUE(TagEquals(reinterpret_cast<const std::uint8_t*>("fmt\0"), "fmt "));
}

} // namespace
