// TMACOut: the APE output through our compressor library, and its error paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>

#include "classlib/FileStream.h"
#include "classlib/Program.h"
#include "common/PipelineTestKit.h"
#include "mac/ApeTestSupport.h"
#include "outputs/AudioMAC.h"

using namespace testkit;
using apetest::Bytes;

namespace {

std::string ThisTestFolder()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("MACOut.") + info->test_suite_name() + "." + info->name();
    std::replace(name.begin(), name.end(), '/', '_');
    return TestFolder(name);
}

std::string Describe(const RunResult& result) { return result.error.value_or(result.done ? "done" : "no end"); }

// A seam in front of the real library: it can offer less room than the library has, refuse
// pieces or compressors, and it records every piece handed over. Plain function pointers
// reach it, hence the one shared state.
struct Seam {
    std::mutex mutex;
    std::int32_t roomLimit = 0;        // > 0: offer at most this much
    bool offerNothing = false;
    std::int32_t unlockResult = 0;     // returned instead of the library's result when not 0
    std::int32_t createError = 0;
    std::vector<std::int32_t> offered;
    std::vector<std::int32_t> pieces;
    Bytes handedOver;
    int destroyed = 0;
};
Seam seam;

const TMACApi& Real() { return MACLibrary().Api(); }

void* SeamCreate(std::int32_t* error)
{
    if (seam.createError) {
        *error = seam.createError;
        return nullptr;
    }
    return Real().Create(error);
}
void SeamDestroy(void* handle)
{
    ++seam.destroyed;
    Real().Destroy(handle);
}
std::uint8_t* lastBuffer = nullptr;
std::uint8_t* SeamLockBuffer(void* handle, std::int32_t* available)
{
    std::uint8_t* buffer = Real().LockBuffer(handle, available);
    if (seam.offerNothing)
        *available = 0;
    else if (seam.roomLimit > 0)
        *available = std::min(*available, seam.roomLimit);
    std::lock_guard lock(seam.mutex);
    seam.offered.push_back(*available);
    lastBuffer = buffer;
    return buffer;
}
std::int32_t SeamUnlockBuffer(void* handle, std::int32_t bytes, std::int32_t process)
{
    {
        std::lock_guard lock(seam.mutex);
        seam.pieces.push_back(bytes);
        seam.handedOver.insert(seam.handedOver.end(), lastBuffer, lastBuffer + bytes);
    }
    const std::int32_t r = Real().UnlockBuffer(handle, bytes, process);
    return seam.unlockResult ? seam.unlockResult : r;
}

// Holds its reads at `gateAt` bytes until released, so a test can act at a known point.
class TGatedInput : public TMemoryInput {
public:
    TGatedInput(Bytes pcm, std::int32_t gateAt) : TMemoryInput(std::move(pcm)), gateAt_(gateAt) {}
    std::int32_t ReadData(void* buffer, std::int32_t bufferSize) override
    {
        std::unique_lock lock(mutex_);
        if (Position() >= gateAt_) {
            reached_ = true;
            cv_.notify_all();
            cv_.wait_for(lock, 30s, [&] { return released_; });
        }
        return TMemoryInput::ReadData(buffer, bufferSize);
    }
    bool WaitUntilReached()
    {
        std::unique_lock lock(mutex_);
        return cv_.wait_for(lock, 30s, [&] { return reached_; });
    }
    void Release()
    {
        std::lock_guard lock(mutex_);
        released_ = true;
        cv_.notify_all();
    }

private:
    std::int32_t gateAt_;
    std::mutex mutex_;
    std::condition_variable cv_;
    bool reached_ = false;
    bool released_ = false;
};

TMACApi SeamApi()
{
    TMACApi api = Real();
    api.Create = SeamCreate;
    api.Destroy = SeamDestroy;
    api.LockBuffer = SeamLockBuffer;
    api.UnlockBuffer = SeamUnlockBuffer;
    return api;
}

class MACOutSeam : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Real().Loaded);
        seam.roomLimit = 0;
        seam.offerNothing = false;
        seam.unlockResult = 0;
        seam.createError = 0;
        seam.offered.clear();
        seam.pieces.clear();
        seam.handedOver.clear();
        seam.destroyed = 0;
    }
};

} // namespace

TEST(MACOutSettings, LevelsAndDefaults)
{
    ASSERT_TRUE(MACLibrary().Api().Loaded) << "libMACDll / MACDll.dll beside the test program";
    TMACOut output;
    EXPECT_EQ(output.CompressionLevel(), 2000);
    EXPECT_EQ(output.MaxAudioBytes(), -1);
    for (int level : {1000, 3000, 4000, 2000}) {
        output.SetCompressionLevel(level);
        EXPECT_EQ(output.CompressionLevel(), level);
    }
    for (int level : {2500, 5000, 0, -1000, 999}) {
        output.SetCompressionLevel(4000);
        output.SetCompressionLevel(level);
        EXPECT_EQ(output.CompressionLevel(), 2000) << level;
    }
    output.SetMaxAudioBytes(123456);
    EXPECT_EQ(output.MaxAudioBytes(), 123456);
    // The library always writes a new file.
    output.SetFileMode(foAppend);
    EXPECT_EQ(output.FileMode(), foRewrite);
}

TEST(MACOutSettings, ErrorTexts)
{
    EXPECT_EQ(EAPEException(1003).Message(), "MACDll error: invalid output file");
    EXPECT_EQ(EAPEException(7).Message(), "MACDll error: undefined (7)");
    EXPECT_EQ(EAPEException(2000).Code(), 2000);
    EXPECT_EQ(EAPEException::ErrorText(0), "OK");
    EXPECT_EQ(EAPEException::ErrorText(1004), "input file file too large");
    EXPECT_EQ(EAPEException::ErrorText(4001), "skipped...");
    EXPECT_EQ(EAPEException::ErrorText(5000), "bad parameter");
    EXPECT_EQ(EAPEException::ErrorText(6000), "APE compress too much data");
    EXPECT_EQ(EAPEException::ErrorText(-1), "undefined (-1)");
}

TEST(MACOutSettings, MissingLibraryIsReportedByTheConstructor)
{
    try {
        TMACOut output(nullptr, TMACApi{});
        FAIL() << "constructed without a library";
    } catch (const EAudioException& e) {
        EXPECT_EQ(e.Message(), "MACDll.dll library could not be loaded.");
    }
}

// Every level, mono and stereo, through the worker: ffmpeg decodes the file to the input.
class MACOutLevels : public ::testing::TestWithParam<int> {};

TEST_P(MACOutLevels, FileDecodesToTheInput)
{
    const int level = GetParam();
    const std::string folder = ThisTestFolder();
    for (int channels : {2, 1}) {
        const Bytes pcm = MakeTestSignal(294912 + 3000 + 17, channels, std::uint32_t(level + channels));
        TMemoryInput input(pcm, 44100, 16, channels);
        TMACOut output;
        output.SetCompressionLevel(level);
        const std::string file = folder + "Track-0" + std::to_string(channels) + ".ape";
        output.SetFileName(file);
        output.SetInput(&input);
        const RunResult result = RunToEnd(output);
        ASSERT_TRUE(result.done) << Describe(result);
        ASSERT_FALSE(result.progressValues.empty());
        EXPECT_EQ(result.progressValues.back(), 100);
        EXPECT_EQ(input.startCount, 1);
        EXPECT_EQ(input.stopCount, 1);
        const apetest::ApeFileInfo info = apetest::ReadApeFile(ReadFileBytes(file));
        EXPECT_EQ(info.level, level);
        EXPECT_EQ(info.channels, channels);
        EXPECT_EQ(info.totalFrames, 2u);
        EXPECT_EQ(info.md5, info.computedMd5);
        apetest::ExpectDecodesTo(file, pcm);
    }
}

INSTANTIATE_TEST_SUITE_P(All, MACOutLevels, ::testing::Values(1000, 2000, 3000, 4000),
                         [](const ::testing::TestParamInfo<int>& p) { return "Level" + std::to_string(p.param); });

// An input empty from the start: one read finds the end, the next step ends the run without
// reading, and the file is a complete APE file without audio.
TEST(MACOutRun, EmptyInputGivesAFileWithoutAudio)
{
    const std::string file = ThisTestFolder() + "empty.ape";
    TMemoryInput input({});
    TMACOut output;
    output.SetFileName(file);
    output.SetInput(&input);
    const RunResult result = RunToEnd(output);
    ASSERT_TRUE(result.done) << Describe(result);
    EXPECT_EQ(input.readCount, 1);
    EXPECT_EQ(input.stopCount, 1);
    const Bytes bytes = ReadFileBytes(file);
    const apetest::ApeFileInfo info = apetest::ReadApeFile(bytes);
    EXPECT_EQ(info.totalFrames, 0u);
    EXPECT_EQ(info.md5, info.computedMd5);
    EXPECT_EQ(bytes.size(), info.firstFrame);
#ifdef _WIN32
    WriteFileBytes(file + ".empty", {});
#else
    std::string log;
    EXPECT_FALSE(apetest::DecodeWithFfmpeg(file, &log));
    EXPECT_NE(log.find("No frames in the file"), std::string::npos) << log;
#endif
}

// Stop ends the run at the next step; the file is finished and holds what was given so far.
TEST(MACOutRun, StopLeavesAFinishedShorterFile)
{
    const std::string file = ThisTestFolder() + "stopped.ape";
    const Bytes pcm = MakeTestSignal(44100 * 10, 2, 21);
    TGatedInput input(pcm, 65536 * 20);
    TMACOut output;
    output.SetFileName(file);
    output.SetInput(&input);
    std::mutex mutex;
    std::condition_variable cv;
    std::optional<RunResult> ended;
    output.OnDone = [&](TComponent*) {
        std::lock_guard lock(mutex);
        ended = RunResult{true, std::nullopt, 0, {}};
        cv.notify_all();
    };
    output.OnThreadException = [&](TComponent*, const Exception& e) {
        std::lock_guard lock(mutex);
        ended = RunResult{false, e.Message(), 0, {}};
        cv.notify_all();
    };
    output.Start();
    ASSERT_TRUE(input.WaitUntilReached());
    output.Stop();
    input.Release();  // the read in progress completes; the next step sees the stop
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(cv.wait_for(lock, 30s, [&] { return ended.has_value(); }));
    }
    ASSERT_TRUE(ended->done) << ended->error.value_or("");
    ASSERT_TRUE(WaitFor([&] { return output.Status() == osIdle; }));
    EXPECT_EQ(input.Position(), 65536 * 21);
    EXPECT_EQ(input.stopCount, 1);
    apetest::ExpectDecodesTo(file, Bytes(pcm.begin(), pcm.begin() + 65536 * 21));
}

TEST(MACOutStart, EmptyFileNameIsRefusedBeforeTheInputStarts)
{
    TMemoryInput input(MakeTestSignal(100));
    TMACOut output;
    output.SetInput(&input);
    const RunResult result = RunToEnd(output);
    EXPECT_EQ(result.error, "File name is not assigned.");
    EXPECT_EQ(input.startCount, 0);
    EXPECT_EQ(output.Status(), osIdle);
}

TEST(MACOutStart, UncreatableFileIsReportedWithTheLibrarysText)
{
    const std::string file = ThisTestFolder() + "no such folder" + PathSeparator() + "x.ape";
    TMemoryInput input(MakeTestSignal(100));
    TMACOut output;
    output.SetFileName(file);
    output.SetInput(&input);
    const RunResult result = RunToEnd(output);
    EXPECT_FALSE(result.done);
    EXPECT_EQ(result.error, "Error starting APECompress.\r\ninvalid output file");
    EXPECT_EQ(input.startCount, 1);
    EXPECT_EQ(input.stopCount, 1) << "the input is stopped again";
    EXPECT_EQ(output.Status(), osIdle);
}

TEST(MACOutStart, UnsupportedInputIsReportedWithTheLibrarysText)
{
    TMemoryInput input(Bytes(300, 0), 44100, 8, 2);
    TMACOut output;
    output.SetFileName(ThisTestFolder() + "eight-bit.ape");
    output.SetInput(&input);
    const RunResult result = RunToEnd(output);
    EXPECT_EQ(result.error, "Error starting APECompress.\r\ninput file unsupported bit depth");
    EXPECT_EQ(input.stopCount, 1);
}

TEST_F(MACOutSeam, CompressorCreationFailureIsAnAPEException)
{
    seam.createError = 2000;
    TMemoryInput input(MakeTestSignal(100));
    TMACOut output(nullptr, SeamApi());
    output.SetFileName(ThisTestFolder() + "x.ape");
    output.SetInput(&input);
    const RunResult result = RunToEnd(output);
    EXPECT_EQ(result.error, "MACDll error: insufficient memory");
    EXPECT_EQ(input.startCount, 1);
    EXPECT_EQ(input.stopCount, 1);
}

// The library offers less room than one 65,536-byte read: the read goes over in several
// pieces, in order, none larger than the room offered.
TEST_F(MACOutSeam, ReadIsHandedOverInPiecesOfTheRoomOffered)
{
    seam.roomLimit = 10000;
    const std::string file = ThisTestFolder() + "pieces.ape";
    const Bytes pcm = MakeTestSignal(65536 / 4 * 3 + 100, 2, 31);
    TMemoryInput input(pcm);
    TMACOut output(nullptr, SeamApi());
    output.SetFileName(file);
    output.SetInput(&input);
    const RunResult result = RunToEnd(output);
    ASSERT_TRUE(result.done) << Describe(result);
    ASSERT_EQ(seam.pieces.size(), seam.offered.size());
    EXPECT_EQ(seam.pieces.size(), 3u * 7u + 1u) << "65,536 bytes in six pieces of 10,000 and one of 5,536";
    for (std::size_t i = 0; i < seam.pieces.size(); ++i) {
        EXPECT_GT(seam.pieces[i], 0);
        EXPECT_LE(seam.pieces[i], seam.offered[i]);
    }
    EXPECT_EQ(seam.pieces[6], 5536);
    EXPECT_TRUE(seam.handedOver == pcm) << "the pieces carry the input in order";
    EXPECT_EQ(seam.destroyed, 1);
    apetest::ExpectDecodesTo(file, pcm);
}

// A library that keeps offering no room would leave the step looping forever; it ends the
// run with an error instead, and the file is still finished.
TEST_F(MACOutSeam, NoRoomOfferedEndsTheRunWithAnError)
{
    seam.offerNothing = true;
    const std::string file = ThisTestFolder() + "no-room.ape";
    TMemoryInput input(MakeTestSignal(20000));
    TMACOut output(nullptr, SeamApi());
    output.SetFileName(file);
    output.SetInput(&input);
    const RunResult result = RunToEnd(output, 30s);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(*result.error, "APECompress.LockBuffer Error: no room for 65536 bytes");
    EXPECT_EQ(input.stopCount, 1);
    EXPECT_EQ(seam.destroyed, 1);
    EXPECT_EQ(apetest::ReadApeFile(ReadFileBytes(file)).totalFrames, 0u);
}

TEST_F(MACOutSeam, RefusedPieceEndsTheRunWithItsCode)
{
    seam.unlockResult = 7;
    TMemoryInput input(MakeTestSignal(20000));
    TMACOut output(nullptr, SeamApi());
    output.SetFileName(ThisTestFolder() + "refused.ape");
    output.SetInput(&input);
    const RunResult result = RunToEnd(output);
    EXPECT_EQ(result.error, "APECompress.UnlockBuffer Error: 7");
    EXPECT_EQ(seam.pieces.size(), 1u) << "nothing more is handed over after a refusal";
    EXPECT_EQ(input.stopCount, 1);
    EXPECT_EQ(seam.destroyed, 1);
}

// Real music through the output at every level.
TEST(MACOutCorpus, RealMusic)
{
    const std::string corpus = apetest::CorpusFolder();
    Bytes track = corpus.empty() ? Bytes() : apetest::ReadWavPcm(corpus + "track02.wav");
    if (track.empty())
        GTEST_SKIP() << "music corpus not available (KESTRIP_CORPUS_DIR='" << corpus
                     << "'); build it with shared/corpus/make-corpus.sh";
#ifdef _WIN32
    track.resize(std::min<std::size_t>(track.size(), 20 * 176400));
#else
    track.resize(std::min<std::size_t>(track.size(), 60 * 176400));
#endif
    const std::string folder = ThisTestFolder();
    for (int level : {1000, 2000, 3000, 4000}) {
        TMemoryInput input(track);
        TMACOut output;
        output.SetCompressionLevel(level);
        const std::string file = folder + "track02-" + std::to_string(level) + ".ape";
        output.SetFileName(file);
        output.SetInput(&input);
        const RunResult result = RunToEnd(output);
        ASSERT_TRUE(result.done) << Describe(result);
        apetest::ExpectDecodesTo(file, track);
    }
}

#ifdef _WIN32
// MACOutMissingLibrary.sh runs this from a folder that lacks MACDll.dll; beside the library
// there is nothing to check.
TEST(MACOutMissingLibrary, ConstructorRefusesWhenTheProgramFolderLacksIt)
{
    if (FileExists(ProgramFolder() + "MACDll.dll"))
        GTEST_SKIP() << "MACDll.dll is beside the program";
    EXPECT_FALSE(MACLibrary().Api().Loaded);
    try {
        TMACOut output;
        ADD_FAILURE() << "the constructor must raise";
    } catch (const EAudioException& e) {
        EXPECT_EQ(e.Message(), "MACDll.dll library could not be loaded.");
    }
}
#endif
