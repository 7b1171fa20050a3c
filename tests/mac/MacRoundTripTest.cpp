// Every compression level, mono and stereo, compressed by the library and decoded by ffmpeg
// (checked in-process natively; under Wine by check-ape-folder.sh afterwards).
#include <gtest/gtest.h>

#include <algorithm>

#include "common/DemoDisc.h"
#include "common/PipelineTestKit.h"
#include "mac/ApeTestSupport.h"

using apetest::Bytes;

namespace {

constexpr std::size_t kFrameBlocks = 294912;

std::uint32_t Be32(const Bytes& b, std::size_t at) {
    return std::uint32_t(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

// The frame byte stream as the decoder sees it: the frame data area with each 4-byte group
// put back in order.
Bytes FrameStream(const Bytes& file, const apetest::ApeFileInfo& info) {
    Bytes stream(file.begin() + info.firstFrame, file.begin() + info.firstFrame + info.frameDataBytes);
    for (std::size_t i = 0; i + 4 <= stream.size(); i += 4) std::reverse(stream.begin() + long(i), stream.begin() + long(i) + 4);
    return stream;
}

std::string Name(int level, int channels, const char* what) {
    return std::string(what) + "-" + (channels == 1 ? "mono" : "stereo") + "-" + std::to_string(level) + ".ape";
}

class MacRoundTrip : public testing::TestWithParam<int> {};

// Music-like content over two frames (the second one short), and content that drives the
// coder to its extremes (escapes, carries, clipping in the filter histories).
TEST_P(MacRoundTrip, DecodesToTheInputMonoAndStereo) {
    const int level = GetParam();
    const std::string folder = testkit::TestFolder("mac-roundtrip-" + std::to_string(level));
    for (int channels : {1, 2}) {
        const Bytes music = testkit::MakeTestSignal(kFrameBlocks + 12345, channels, 11);
        apetest::EncodeOptions options;
        options.level = level;
        options.channels = channels;
        const std::string musicPath = folder + Name(level, channels, "music");
        ASSERT_EQ(apetest::EncodeFile(musicPath, music, options), 0);
        const apetest::ApeFileInfo info = apetest::ReadApeFile(testkit::ReadFileBytes(musicPath));
        EXPECT_EQ(info.version, 3990);
        EXPECT_EQ(info.level, level);
        EXPECT_EQ(info.channels, channels);
        EXPECT_EQ(info.bitsPerSample, 16);
        EXPECT_EQ(info.sampleRate, 44100u);
        EXPECT_EQ(info.formatFlags, 32) << "no stored WAV header";
        EXPECT_EQ(info.totalFrames, 2u);
        EXPECT_EQ(info.finalFrameBlocks, 12345u);
        EXPECT_EQ(info.md5, info.computedMd5);
        apetest::ExpectDecodesTo(musicPath, music);

        const Bytes hard = apetest::MakeHardSignal(60001, channels, 12);
        const std::string hardPath = folder + Name(level, channels, "hard");
        options.readSize = 4097;  // odd pieces: sample frames split across hand-overs
        ASSERT_EQ(apetest::EncodeFile(hardPath, hard, options), 0);
        apetest::ExpectDecodesTo(hardPath, hard);
    }
}

// A silent frame and a frame with identical channels are stored in their short forms.
TEST_P(MacRoundTrip, StoresSilenceAndIdenticalChannelsCompactly) {
    const int level = GetParam();
    const std::string path = testkit::TestFolder("mac-special-" + std::to_string(level)) + "special.ape";
    Bytes pcm(kFrameBlocks * 4, 0);  // frame 0: silence
    const Bytes mono = testkit::MakeTestSignal(kFrameBlocks, 1, 13);
    for (std::size_t i = 0; i < kFrameBlocks; ++i)  // frame 1: left == right
        pcm.insert(pcm.end(), {mono[2 * i], mono[2 * i + 1], mono[2 * i], mono[2 * i + 1]});
    const Bytes stereo = testkit::MakeTestSignal(1000, 2, 14);  // frame 2: ordinary
    pcm.insert(pcm.end(), stereo.begin(), stereo.end());
    apetest::EncodeOptions options;
    options.level = level;
    ASSERT_EQ(apetest::EncodeFile(path, pcm, options), 0);

    const Bytes file = testkit::ReadFileBytes(path);
    const apetest::ApeFileInfo info = apetest::ReadApeFile(file);
    ASSERT_EQ(info.totalFrames, 3u);
    const Bytes stream = FrameStream(file, info);
    auto frameAt = [&](int i) { return std::size_t(info.seekTable[std::size_t(i)] - info.firstFrame); };
    EXPECT_EQ(frameAt(1) - frameAt(0), 13u) << "CRC, flags and an empty range coder";
    EXPECT_EQ(Be32(stream, frameAt(0)) >> 31, 1u);
    EXPECT_EQ(Be32(stream, frameAt(0) + 4), 3u) << "stereo silence";
    EXPECT_EQ(Be32(stream, frameAt(1)) >> 31, 1u);
    EXPECT_EQ(Be32(stream, frameAt(1) + 4), 4u) << "pseudo-stereo";
    EXPECT_EQ(Be32(stream, frameAt(2)) >> 31, 0u) << "no flags";
    apetest::ExpectDecodesTo(path, pcm);

    // Mono silence has its own flag.
    const std::string monoPath = testkit::TestFolder("mac-special-mono-" + std::to_string(level)) + "silence.ape";
    const Bytes silence(3000, 0);
    options.channels = 1;
    ASSERT_EQ(apetest::EncodeFile(monoPath, silence, options), 0);
    const Bytes monoFile = testkit::ReadFileBytes(monoPath);
    const apetest::ApeFileInfo monoInfo = apetest::ReadApeFile(monoFile);
    const Bytes monoStream = FrameStream(monoFile, monoInfo);
    EXPECT_EQ(Be32(monoStream, 4), 1u) << "mono silence";
    apetest::ExpectDecodesTo(monoPath, silence);
}

// No audio: a complete file with no frames. ffmpeg reads the header and refuses such a file
// with "No frames in the file", which is what is checked here.
TEST_P(MacRoundTrip, WritesAValidFileWithoutAudio) {
    const int level = GetParam();
    const std::string folder = testkit::TestFolder("mac-empty-" + std::to_string(level));
    for (int channels : {1, 2}) {
        const std::string path = folder + Name(level, channels, "empty");
        apetest::EncodeOptions options;
        options.level = level;
        options.channels = channels;
        ASSERT_EQ(apetest::EncodeFile(path, {}, options), 0);
        const Bytes file = testkit::ReadFileBytes(path);
        const apetest::ApeFileInfo info = apetest::ReadApeFile(file);
        EXPECT_EQ(info.totalFrames, 0u);
        EXPECT_EQ(info.finalFrameBlocks, 0u);
        EXPECT_EQ(info.frameDataBytes, 0u);
        EXPECT_EQ(info.channels, channels);
        EXPECT_EQ(info.md5, info.computedMd5);
        EXPECT_EQ(file.size(), info.firstFrame);
#ifdef _WIN32
        testkit::WriteFileBytes(path + ".empty", {});
#else
        std::string log;
        EXPECT_FALSE(apetest::DecodeWithFfmpeg(path, &log));
        EXPECT_NE(log.find("No frames in the file"), std::string::npos) << log;
#endif
    }
}

#ifdef KESTRIP_DEMO_DIR
// The demo disc's music tracks, each at this level.
TEST_P(MacRoundTrip, DemoDiscTracks) {
    const int level = GetParam();
    const std::string folder = testkit::TestFolder("mac-demodisc-" + std::to_string(level));
    int tracks = 0;
    for (const testkit::TDemoTrack& track : testkit::DemoMusicTracks()) {
        const Bytes pcm = testkit::DemoTrackBytes(track);
        apetest::EncodeOptions options;
        options.level = level;
        const std::string path = folder + "Track-" + std::to_string(track.Number) + ".ape";
        ASSERT_EQ(apetest::EncodeFile(path, pcm, options), 0);
        apetest::ExpectDecodesTo(path, pcm);
        ++tracks;
    }
    EXPECT_GE(tracks, 1) << "no music track in " << testkit::DemoDiscFolder();
}
#endif

INSTANTIATE_TEST_SUITE_P(Levels, MacRoundTrip, testing::Values(1000, 2000, 3000, 4000),
                         [](const testing::TestParamInfo<int>& p) { return "Level" + std::to_string(p.param); });

// Real music. Natively a whole corpus track; under Wine an excerpt (the codec is the same
// code, what differs there is the file and library plumbing).
TEST(MacCorpus, RealMusicAtEveryLevel) {
    const std::string corpus = apetest::CorpusFolder();
    Bytes track = corpus.empty() ? Bytes() : apetest::ReadWavPcm(corpus + "track01.wav");
    if (track.empty())
        GTEST_SKIP() << "music corpus not available (KESTRIP_CORPUS_DIR='" << corpus
                     << "'); build it with shared/corpus/make-corpus.sh";
#ifdef _WIN32
    track.resize(std::min<std::size_t>(track.size(), 30 * 176400));
#endif
    const Bytes mono = apetest::LeftChannel(Bytes(track.begin(), track.begin() + long(std::min<std::size_t>(track.size(), 60 * 176400))));
    const std::string folder = testkit::TestFolder("mac-corpus");
    std::vector<std::uint64_t> sizes;
    for (int level : {1000, 2000, 3000, 4000}) {
        apetest::EncodeOptions options;
        options.level = level;
        const std::string path = folder + Name(level, 2, "track01");
        ASSERT_EQ(apetest::EncodeFile(path, track, options), 0);
        sizes.push_back(testkit::ReadFileBytes(path).size());
        apetest::ExpectDecodesTo(path, track);

        options.channels = 1;
        const std::string monoPath = folder + Name(level, 1, "track01");
        ASSERT_EQ(apetest::EncodeFile(monoPath, mono, options), 0);
        apetest::ExpectDecodesTo(monoPath, mono);
    }
    // Each level spends more effort for a smaller file.
    for (std::size_t i = 1; i < sizes.size(); ++i) EXPECT_LT(sizes[i], sizes[i - 1]) << "level " << 1000 * (i + 1);
    EXPECT_LT(sizes.back(), track.size() * 3 / 4);
}

}  // namespace
