// The compressor library's C functions: file layout, argument checks, error codes and the
// buffer hand-over.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "classlib/DynamicLibrary.h"
#include "classlib/Unicode.h"
#include "common/PipelineTestKit.h"
#include "mac/ApeTestSupport.h"

using apetest::Bytes;

namespace {

constexpr std::int32_t kStereoFrameBytes = 294912 * 4;

struct Compressor {
    Compressor() {
        std::int32_t error = -1;
        handle = c_APECompress_Create(&error);
        EXPECT_EQ(error, 0);
        EXPECT_NE(handle, nullptr);
    }
    ~Compressor() { c_APECompress_Destroy(handle); }
    std::int32_t Start(const std::string& path, int channels = 2, int level = 2000,
                       std::int32_t maxAudioBytes = -1, int bits = 16) {
        TWaveFormatEx format{};
        FillWaveFormatEx(&format, 44100, bits, channels);
        return c_APECompress_Start(handle, path.c_str(), &format, maxAudioBytes, level, nullptr, -1);
    }
    // Places up to `bytes` of pcm (from `at`) in the offered buffer; returns the count placed.
    std::int32_t Put(const Bytes& pcm, std::size_t at, std::int32_t bytes, int process = 1) {
        std::int32_t room = -1;
        std::uint8_t* buffer = c_APECompress_LockBuffer(handle, &room);
        if (!buffer) return -1;
        const std::int32_t n = std::min(room, bytes);
        std::memcpy(buffer, pcm.data() + at, std::size_t(n));
        EXPECT_EQ(c_APECompress_UnlockBuffer(handle, n, process), 0);
        return n;
    }
    void* handle = nullptr;
};

std::filesystem::path NativePath(const std::string& utf8Path) {
#ifdef _WIN32
    return std::filesystem::path(Utf8ToWide(utf8Path));
#else
    return std::filesystem::path(utf8Path);
#endif
}

std::uint64_t FileSize(const std::string& utf8Path) { return std::filesystem::file_size(NativePath(utf8Path)); }

}  // namespace

// The note's worked example: one stereo block at level 2000 gives exactly these 92 bytes
// (bar the MD5, which the example leaves zero).
TEST(MacLibrary, WritesTheKnownFileForOneBlock) {
    const std::string path = testkit::TestFolder("mac-one-block") + "one.ape";
    const Bytes pcm = {0xd2, 0x04, 0x1f, 0xef};  // L = 1234, R = -4321
    ASSERT_EQ(apetest::EncodeFile(path, pcm, {}), 0);
    Bytes file = testkit::ReadFileBytes(path);
    const Bytes expected = {
        0x4d, 0x41, 0x43, 0x20, 0x96, 0x0f, 0x00, 0x00, 0x34, 0x00, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00,
        0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0c, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0xd0, 0x07, 0x20, 0x00, 0x00, 0x80, 0x04, 0x00, 0x01, 0x00, 0x00, 0x00,
        0x01, 0x00, 0x00, 0x00, 0x10, 0x00, 0x02, 0x00, 0x44, 0xac, 0x00, 0x00, 0x50, 0x00, 0x00, 0x00,
        0xd2, 0xfb, 0xff, 0x2b, 0xb3, 0xd5, 0xff, 0x00, 0x00, 0x7f, 0xa0, 0x7b};
    // With a maximum of 4 bytes the seek table has room for exactly one frame.
    const std::string exact = testkit::TestFolder("mac-one-block-exact") + "one.ape";
    apetest::EncodeOptions options;
    options.maxAudioBytes = 4;
    ASSERT_EQ(apetest::EncodeFile(exact, pcm, options), 0);
    file = testkit::ReadFileBytes(exact);
    ASSERT_EQ(file.size(), expected.size());
    const apetest::ApeFileInfo info = apetest::ReadApeFile(file);
    EXPECT_EQ(info.md5, info.computedMd5);
    std::fill(file.begin() + 36, file.begin() + 52, 0);
    EXPECT_EQ(file, expected);
    apetest::ExpectDecodesTo(exact, pcm);
    apetest::ExpectDecodesTo(path, pcm);
}

TEST(MacLibrary, FillWaveFormatExDescribesPcm) {
    TWaveFormatEx format;
    std::memset(&format, 0xAB, sizeof format);
    ASSERT_EQ(sizeof format, 18u);
    ASSERT_EQ(FillWaveFormatEx(&format, 44100, 16, 2), 0);
    EXPECT_EQ(format.FormatTag, 1);
    EXPECT_EQ(format.Channels, 2);
    EXPECT_EQ(format.SamplesPerSec, 44100u);
    EXPECT_EQ(format.AvgBytesPerSec, 176400u);
    EXPECT_EQ(format.BlockAlign, 4);
    EXPECT_EQ(format.BitsPerSample, 16);
    EXPECT_EQ(format.ExtraSize, 0);
    ASSERT_EQ(FillWaveFormatEx(&format, 22050, 16, 1), 0);
    EXPECT_EQ(format.AvgBytesPerSec, 44100u);
    EXPECT_EQ(format.BlockAlign, 2);
    EXPECT_EQ(FillWaveFormatEx(nullptr, 44100, 16, 2), MAC_ERROR_BAD_PARAMETER);
    EXPECT_EQ(FillWaveFormatEx(&format, 0, 16, 2), MAC_ERROR_BAD_PARAMETER);
    EXPECT_EQ(FillWaveFormatEx(&format, 44100, 16, 0), MAC_ERROR_BAD_PARAMETER);
}

TEST(MacLibrary, StartRefusesWhatItCannotWrite) {
    const std::string folder = testkit::TestFolder("mac-start-errors");
    {
        Compressor c;
        EXPECT_EQ(c.Start(folder + "no such folder/x.ape"), MAC_ERROR_INVALID_OUTPUT_FILE);
        EXPECT_EQ(c.Start(""), MAC_ERROR_INVALID_OUTPUT_FILE);
        EXPECT_EQ(c.Start(folder + "a.ape", 2, 2500), MAC_ERROR_BAD_PARAMETER);
        EXPECT_EQ(c.Start(folder + "a.ape", 2, 5000), MAC_ERROR_BAD_PARAMETER);
        EXPECT_EQ(c.Start(folder + "a.ape", 2, 2000, -2), MAC_ERROR_BAD_PARAMETER);
        EXPECT_EQ(c.Start(folder + "a.ape", 2, 2000, -1, 8), MAC_ERROR_UNSUPPORTED_BIT_DEPTH);
        EXPECT_EQ(c.Start(folder + "a.ape", 2, 2000, -1, 24), MAC_ERROR_UNSUPPORTED_BIT_DEPTH);
        EXPECT_EQ(c.Start(folder + "a.ape", 3), MAC_ERROR_UNSUPPORTED_CHANNEL_COUNT);
        EXPECT_EQ(c_APECompress_Start(c.handle, (folder + "a.ape").c_str(), nullptr, -1, 2000, nullptr, -1),
                  MAC_ERROR_BAD_PARAMETER);
        TWaveFormatEx format{};
        FillWaveFormatEx(&format, 44100, 16, 2);
        EXPECT_EQ(c_APECompress_Start(c.handle, nullptr, &format, -1, 2000, nullptr, -1),
                  MAC_ERROR_BAD_PARAMETER);
        EXPECT_EQ(c_APECompress_Start(c.handle, (folder + "a.ape").c_str(), &format, -1, 2000, nullptr, 44),
                  MAC_ERROR_BAD_PARAMETER);
        format.BlockAlign = 3;
        EXPECT_EQ(c_APECompress_Start(c.handle, (folder + "a.ape").c_str(), &format, -1, 2000, nullptr, -1),
                  MAC_ERROR_BAD_PARAMETER);
        // Refusals create nothing; the handle is still usable.
        EXPECT_FALSE(std::filesystem::exists(NativePath(folder + "a.ape")));
        ASSERT_EQ(c.Start(folder + "b.ape"), 0);
        EXPECT_EQ(c.Start(folder + "c.ape"), MAC_ERROR_BAD_PARAMETER) << "a file is already open";
        EXPECT_EQ(c_APECompress_Finish(c.handle, nullptr, 0, 0), 0);
    }
    // Nothing works on a compressor that has not been started, nor on no compressor.
    Compressor idle;
    std::int32_t room = -1;
    EXPECT_EQ(c_APECompress_LockBuffer(idle.handle, &room), nullptr);
    EXPECT_EQ(room, 0);
    EXPECT_EQ(c_APECompress_UnlockBuffer(idle.handle, 0, 1), MAC_ERROR_BAD_PARAMETER);
    EXPECT_EQ(c_APECompress_Finish(idle.handle, nullptr, 0, 0), MAC_ERROR_BAD_PARAMETER);
    EXPECT_EQ(c_APECompress_Start(nullptr, "x.ape", nullptr, -1, 2000, nullptr, -1), MAC_ERROR_BAD_PARAMETER);
    EXPECT_EQ(c_APECompress_LockBuffer(nullptr, &room), nullptr);
    EXPECT_EQ(c_APECompress_UnlockBuffer(nullptr, 0, 1), MAC_ERROR_BAD_PARAMETER);
    EXPECT_EQ(c_APECompress_Finish(nullptr, nullptr, 0, 0), MAC_ERROR_BAD_PARAMETER);
    c_APECompress_Destroy(nullptr);
}

// The buffer never holds more than one frame, every complete frame reaches the file before
// the next is taken, and a short last frame is stored whole.
TEST(MacLibrary, CompressesEachFrameAsItsDataArrives) {
    const std::string path = testkit::TestFolder("mac-streaming") + "stream.ape";
    const std::size_t blocks = 2 * 294912 + 1001;
    const Bytes pcm = testkit::MakeTestSignal(blocks, 2, 3);
    Compressor c;
    ASSERT_EQ(c.Start(path), 0);
    const std::uint64_t headerSize = FileSize(path);
    std::vector<std::uint64_t> sizesAtFrameEnds;
    std::size_t at = 0;
    while (at < pcm.size()) {
        std::int32_t room = 0;
        ASSERT_NE(c_APECompress_LockBuffer(c.handle, &room), nullptr);
        ASSERT_GT(room, 0);
        ASSERT_LE(room, kStereoFrameBytes);
        at += std::size_t(c.Put(pcm, at, std::int32_t(std::min<std::size_t>(65536, pcm.size() - at))));
        if (at % kStereoFrameBytes == 0) sizesAtFrameEnds.push_back(FileSize(path));
    }
    ASSERT_EQ(sizesAtFrameEnds.size(), 2u);
    EXPECT_GT(sizesAtFrameEnds[0], headerSize + 400000);
    EXPECT_GT(sizesAtFrameEnds[1], sizesAtFrameEnds[0] + 400000);
    ASSERT_EQ(c_APECompress_Finish(c.handle, nullptr, 0, 0), 0);

    const apetest::ApeFileInfo info = apetest::ReadApeFile(testkit::ReadFileBytes(path));
    EXPECT_EQ(info.totalFrames, 3u);
    EXPECT_EQ(info.blocksPerFrame, 294912u);
    EXPECT_EQ(info.finalFrameBlocks, 1001u);
    EXPECT_EQ(info.md5, info.computedMd5);
    ASSERT_GE(info.seekTable.size(), 3u);
    EXPECT_EQ(info.seekTable[0], info.firstFrame);
    EXPECT_LT(info.seekTable[0], info.seekTable[1]);
    EXPECT_LT(info.seekTable[1], info.seekTable[2]);
    apetest::ExpectDecodesTo(path, pcm);
}

// A frame completed without processing waits, and is compressed before more data is taken.
TEST(MacLibrary, DefersProcessingWhenAsked) {
    const std::string path = testkit::TestFolder("mac-deferred") + "deferred.ape";
    const Bytes pcm = testkit::MakeTestSignal(294912 + 500, 1, 4);
    Compressor c;
    ASSERT_EQ(c.Start(path, 1), 0);
    const std::uint64_t headerSize = FileSize(path);
    std::size_t at = 0;
    while (at < 294912 * 2) at += std::size_t(c.Put(pcm, at, 294912 * 2, 0));
    EXPECT_EQ(FileSize(path), headerSize) << "nothing compressed before it was asked for";
    std::int32_t room = 0;
    ASSERT_NE(c_APECompress_LockBuffer(c.handle, &room), nullptr);
    EXPECT_EQ(room, 294912 * 2);
    EXPECT_GT(FileSize(path), headerSize);
    while (at < pcm.size()) at += std::size_t(c.Put(pcm, at, std::int32_t(pcm.size() - at), 0));
    ASSERT_EQ(c_APECompress_Finish(c.handle, nullptr, 0, 0), 0);
    apetest::ExpectDecodesTo(path, pcm);
}

TEST(MacLibrary, RefusesMoreThanItWasPromisedOrOffered) {
    const std::string path = testkit::TestFolder("mac-limits") + "limited.ape";
    const Bytes pcm = testkit::MakeTestSignal(3000, 2, 5);
    Compressor c;
    ASSERT_EQ(c.Start(path, 2, 3000, 10000), 0);
    std::int32_t room = 0;
    ASSERT_NE(c_APECompress_LockBuffer(c.handle, &room), nullptr);
    EXPECT_EQ(room, 10000);
    EXPECT_EQ(c_APECompress_UnlockBuffer(c.handle, kStereoFrameBytes + 1, 1), MAC_ERROR_BAD_PARAMETER)
        << "more than the buffer holds";
    EXPECT_EQ(c_APECompress_UnlockBuffer(c.handle, -1, 1), MAC_ERROR_BAD_PARAMETER);
    EXPECT_EQ(c_APECompress_UnlockBuffer(c.handle, 10001, 1), MAC_ERROR_TOO_MUCH_DATA);
    EXPECT_EQ(c.Put(pcm, 0, 6000), 6000);
    ASSERT_NE(c_APECompress_LockBuffer(c.handle, &room), nullptr);
    EXPECT_EQ(room, 4000);
    EXPECT_EQ(c_APECompress_UnlockBuffer(c.handle, 4001, 1), MAC_ERROR_TOO_MUCH_DATA);
    EXPECT_EQ(c.Put(pcm, 6000, 4000), 4000);
    ASSERT_NE(c_APECompress_LockBuffer(c.handle, &room), nullptr);
    EXPECT_EQ(room, 0);
    ASSERT_EQ(c_APECompress_Finish(c.handle, nullptr, 0, 0), 0);
    apetest::ExpectDecodesTo(path, Bytes(pcm.begin(), pcm.begin() + 10000));
}

// Half a sample frame at the end cannot be stored: the file keeps the whole ones and the
// caller hears about it.
TEST(MacLibrary, FinishReportsATrailingPartialBlock) {
    const std::string path = testkit::TestFolder("mac-partial") + "partial.ape";
    const Bytes pcm = testkit::MakeTestSignal(1000, 2, 6);
    Compressor c;
    ASSERT_EQ(c.Start(path), 0);
    ASSERT_EQ(c.Put(pcm, 0, 3998), 3998);
    EXPECT_EQ(c_APECompress_Finish(c.handle, nullptr, 0, 0), MAC_ERROR_BAD_PARAMETER);
    apetest::ExpectDecodesTo(path, Bytes(pcm.begin(), pcm.begin() + 3996));
}

// A stored WAV header and WAV tail sit around the frames, are counted by the MD5, and do not
// disturb decoding.
TEST(MacLibrary, StoresWavHeaderAndTail) {
    const std::string path = testkit::TestFolder("mac-header-tail") + "wrapped.ape";
    const Bytes pcm = testkit::MakeTestSignal(50000, 2, 7);
    Bytes header(46, 0x11);  // an odd length on purpose: frames are aligned to the first one
    std::memcpy(header.data(), "RIFF", 4);
    const Bytes tail = {'L', 'I', 'S', 'T', 4, 0, 0, 0, 'I', 'N', 'F', 'O'};
    apetest::EncodeOptions options;
    options.wavHeader = &header;
    options.tail = &tail;
    ASSERT_EQ(apetest::EncodeFile(path, pcm, options), 0);
    const Bytes file = testkit::ReadFileBytes(path);
    const apetest::ApeFileInfo info = apetest::ReadApeFile(file);
    EXPECT_EQ(info.formatFlags, 0);
    EXPECT_EQ(info.wavHeaderBytes, 46u);
    EXPECT_EQ(info.wavTailBytes, 12u);
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), file.end() - 12));
    EXPECT_TRUE(std::equal(header.begin(), header.end(), file.begin() + info.firstFrame - 46));
    EXPECT_EQ(info.md5, info.computedMd5);
    apetest::ExpectDecodesTo(path, pcm);
}

TEST(MacLibrary, ExportsItsFunctionsByName) {
#ifdef _WIN32
    TDynamicLibrary library = TDynamicLibrary::Open("MACDll.dll");
#else
    TDynamicLibrary library = TDynamicLibrary::Open("libMACDll.so");
#endif
    ASSERT_TRUE(library);
    for (const char* name : {"c_APECompress_Create", "c_APECompress_Destroy", "c_APECompress_Start",
                             "c_APECompress_LockBuffer", "c_APECompress_UnlockBuffer",
                             "c_APECompress_Finish", "FillWaveFormatEx"})
        EXPECT_NE(library.Symbol(name), nullptr) << name;
}
