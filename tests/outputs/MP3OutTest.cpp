#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "classlib/FileStream.h"
#include "classlib/Program.h"
#include "common/PipelineTestKit.h"
#include "outputs/AudioLAME.h"
#include "outputs/MP3OutFrames.h"

using namespace testkit;
using mp3test::ScanMpegFile;
using mp3test::TMpegLayout;

namespace {

constexpr std::size_t kSecond = 44100;
const std::string kMissingLibrary = "lame_enc.dll library could not be loaded.";

RunResult Encode(TMP3Out& output, TAudioInput& input, const std::string& fileName)
{
    output.SetInput(&input);
    output.SetFileName(fileName);
    return RunToEnd(output);
}

TMpegLayout ScanFile(const std::string& fileName) { return ScanMpegFile(ReadFileBytes(fileName)); }

// Every frame at the same bit rate: constant bit rate, as LAME's frame headers say.
void ExpectConstantBitRate(const TMpegLayout& layout, int kbps)
{
    ASSERT_TRUE(layout.wellFormed) << layout.problem;
    ASSERT_FALSE(layout.frames.empty());
    for (const auto& frame : layout.frames) {
        ASSERT_EQ(frame.kbps, kbps) << "frame at byte " << frame.offset;
        ASSERT_FALSE(frame.monoMode) << "frame at byte " << frame.offset;
        ASSERT_EQ(frame.sampleRate, layout.frames[0].sampleRate);
    }
}

// What MP3OutCheck.sh compares the file with.
void WriteExpectations(const std::string& fileName, const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    WriteFileBytes(fileName + ".expected", std::vector<std::uint8_t>(text.begin(), text.end()));
}

// Natively the real decoder checks the file at once; the Windows build leaves it for the
// follow-up test that runs the same script.
void CheckWithRealDecoder(const std::string& fileName)
{
#ifndef _WIN32
    std::string report;
    const int status = RunCommand("bash '" MP3OUT_CHECK_SCRIPT "' '" + fileName + "' 2>&1", &report);
    EXPECT_EQ(status, 0) << report;
    std::cout << report;
#else
    (void)fileName;
#endif
}

std::string ConstructionError(std::shared_ptr<const TLAMEBinding> lame)
{
    try {
        TMP3Out output(nullptr, std::move(lame));
    } catch (const EAudioException& e) {
        return e.Message();
    }
    return "(no error)";
}

} // namespace

TEST(MP3Out, EncodesStereoPcmAtConstant128Kbps)
{
    const std::string folder = TestFolder("mp3-signal");
    const auto pcm = MakeTestSignal(3 * kSecond, 2);
    WriteFileBytes(folder + "signal.raw", pcm);
    TMemoryInput input(pcm);
    TMP3Out output;
    EXPECT_EQ(output.BitRate(), TMP3BitRate::br128);

    const std::string file = folder + "Track-01.mp3";
    const RunResult run = Encode(output, input, file);
    ASSERT_TRUE(run.done) << run.error.value_or("");
    EXPECT_EQ(input.startCount, 1);
    EXPECT_EQ(input.stopCount, 1);
    ASSERT_FALSE(run.progressValues.empty());
    EXPECT_EQ(run.progressValues.back(), 100);

    const TMpegLayout layout = ScanFile(file);
    ExpectConstantBitRate(layout, 128);
    EXPECT_EQ(layout.frames[0].sampleRate, 44100);
    EXPECT_EQ(layout.frames[0].version, 10);
    EXPECT_FALSE(layout.hasId3v1) << "no tag field was set";
    // All the input is there: LAME's empty tag frame and its 576-sample delay come first,
    // and it pads the end with up to three frames.
    const std::size_t samples = layout.frames.size() * 1152;
    EXPECT_GE(samples, 3 * kSecond + 1152 + 576);
    EXPECT_LE(samples, 3 * kSecond + 1152 + 576 + 3 * 1152);

    WriteExpectations(file, {"kbps=128", "rate=44100", "source=signal.raw", "source_channels=2", "no_tags=1"});
    CheckWithRealDecoder(file);
}

TEST(MP3Out, BitRateReachesTheEncoderAsItsKbps)
{
    const std::string folder = TestFolder("mp3-bitrates");
    const auto pcm = MakeTestSignal(kSecond / 2, 2);
    struct Case {
        TMP3BitRate rate;
        int kbps;
        const char* file;
    };
    for (const Case& c : {Case{TMP3BitRate::br8, 8, "br8.mp3"}, Case{TMP3BitRate::br320, 320, "br320.mp3"}}) {
        SCOPED_TRACE(c.file);
        TMemoryInput input(pcm);
        TMP3Out output;
        output.SetBitRate(c.rate);
        const RunResult run = Encode(output, input, folder + c.file);
        ASSERT_TRUE(run.done) << run.error.value_or("");
        const TMpegLayout layout = ScanFile(folder + c.file);
        ExpectConstantBitRate(layout, c.kbps);
        WriteExpectations(folder + c.file, {"kbps=" + std::to_string(c.kbps)});
        CheckWithRealDecoder(folder + c.file);
    }
}

TEST(MP3Out, MonoInputBecomesTwoEqualChannels)
{
    const std::string folder = TestFolder("mp3-mono");
    const auto pcm = MakeTestSignal(2 * kSecond, 1);
    WriteFileBytes(folder + "mono.raw", pcm);
    TMemoryInput input(pcm, 44100, 16, 1);
    TMP3Out output;
    const std::string file = folder + "mono.mp3";
    const RunResult run = Encode(output, input, file);
    ASSERT_TRUE(run.done) << run.error.value_or("");

    const TMpegLayout layout = ScanFile(file);
    ExpectConstantBitRate(layout, 128);
    // 8,192 samples a read, LAME's worst case for the output buffer, all of them encoded.
    EXPECT_GE(layout.frames.size() * 1152, 2 * kSecond + 1152 + 576);

    WriteExpectations(file, {"kbps=128", "source=mono.raw", "source_channels=1", "equal_channels=1"});
    CheckWithRealDecoder(file);
}

TEST(MP3Out, AppendModeStillReplacesTheFile)
{
    const std::string file = TestFolder("mp3-append") + "append.mp3";
    WriteFileBytes(file, std::vector<std::uint8_t>(100000, 'x'));
    TMemoryInput input(MakeTestSignal(kSecond / 4, 2));
    TMP3Out output;
    output.SetFileMode(foAppend);
    EXPECT_EQ(output.FileMode(), foRewrite);

    ASSERT_TRUE(Encode(output, input, file).done);
    const auto first = ReadFileBytes(file);
    const TMpegLayout layout = ScanMpegFile(first);
    ExpectConstantBitRate(layout, 128);
    EXPECT_LT(first.size(), 100000u);

    // A second run over its own file writes the same file again, not twice as much.
    ASSERT_TRUE(RunToEnd(output).done);
    EXPECT_EQ(ReadFileBytes(file), first);
}

TEST(MP3Out, EmptyInputLeavesOnlyWhatTheFlushReturns)
{
    const std::string file = TestFolder("mp3-empty") + "empty.mp3";
    TMemoryInput input({});
    TMP3Out output;
    const RunResult run = Encode(output, input, file);
    ASSERT_TRUE(run.done) << run.error.value_or("");
    EXPECT_EQ(input.readCount, 1);

    // The same encoder set-up flushed with nothing encoded, straight through the library.
    std::shared_ptr<const TLAMEBinding> lame = HoldLAMELibrary();
    lame_global_flags* encoder = lame->lame_init();
    ASSERT_NE(encoder, nullptr);
    lame->lame_set_in_samplerate(encoder, 44100);
    lame->lame_set_num_channels(encoder, 2);
    lame->lame_set_brate(encoder, 128);
    ASSERT_EQ(lame->lame_init_params(encoder), 0);
    std::vector<std::uint8_t> flushed(TMP3Out::kEncodedBufferSize);
    const int count = lame->lame_encode_flush(encoder, flushed.data(), static_cast<int>(flushed.size()));
    ASSERT_GT(count, 0);
    flushed.resize(static_cast<std::size_t>(count));
    // The reserved first frame is then filled in with the encoder's tag.
    ASSERT_NE(lame->lame_get_lametag_frame, nullptr);
    std::vector<std::uint8_t> tag(4096);
    const std::size_t tagSize = lame->lame_get_lametag_frame(encoder, tag.data(), tag.size());
    lame->lame_close(encoder);
    ASSERT_GT(tagSize, 0u);
    ASSERT_LE(tagSize, flushed.size());
    std::copy(tag.begin(), tag.begin() + static_cast<std::ptrdiff_t>(tagSize), flushed.begin());

    EXPECT_EQ(ReadFileBytes(file), flushed);
}

TEST(MP3Out, TagFieldsEndUpInTheFilesId3Tag)
{
    const std::string folder = TestFolder("mp3-tags");
    const std::string file = folder + "tags.mp3";
    TMemoryInput input(MakeTestSignal(kSecond / 2, 2));
    TMP3Out output;
    output.SetId3TagTitle("Chord Study");
    output.SetId3TagArtist("The Test Signals");
    output.SetId3TagAlbum("Demo Disc");
    output.SetId3TagYear("2026");
    output.SetId3TagTrack("7");
    output.SetId3TagComment("ripped at 128");
    ASSERT_TRUE(Encode(output, input, file).done);

    const TMpegLayout layout = ScanFile(file);
    ExpectConstantBitRate(layout, 128);
    EXPECT_TRUE(layout.hasId3v1);
    WriteExpectations(file, {"kbps=128", "tag_title=Chord Study", "tag_artist=The Test Signals", "tag_album=Demo Disc",
                             "tag_date=2026", "tag_track=7", "tag_comment=ripped at 128"});
    CheckWithRealDecoder(file);
}

// ID3v1 text is Latin-1 (ffprobe shows such bytes only as replacement characters, so the
// bytes are checked here).
TEST(MP3Out, TagTextIsWrittenAsLatin1)
{
    const std::string file = TestFolder("mp3-latin1") + "latin1.mp3";
    TMemoryInput input(MakeTestSignal(kSecond / 4, 2));
    TMP3Out output;
    output.SetId3TagTitle("Música para Kestrip");
    output.SetId3TagAlbum("Demo 音楽");
    ASSERT_TRUE(Encode(output, input, file).done);

    const auto bytes = ReadFileBytes(file);
    ASSERT_TRUE(ScanMpegFile(bytes).hasId3v1);
    const std::string tag(bytes.end() - 128, bytes.end());
    EXPECT_EQ(tag.substr(3, 20), std::string("M\xFAsica para Kestrip") + '\0');
    // What Latin-1 lacks reads '?'.
    EXPECT_EQ(tag.substr(63, 8), std::string("Demo ??") + '\0');
}

TEST(MP3OutLibrary, MissingOrForeignLibraryStopsConstruction)
{
    const std::string folder = TestFolder("mp3-no-library");
    auto missing = std::make_shared<const TLAMEBinding>(TDynamicLibrary::OpenFromFolder(folder, TLAMEBinding::FileName));
    EXPECT_FALSE(missing->Loaded());
    EXPECT_EQ(ConstructionError(missing), kMissingLibrary);

    // A library of that name that is not LAME: none of the entry points is there.
#ifdef _WIN32
    const std::string foreign = ProgramFolder() + "ogg.dll";
#else
    const std::string foreign = "/usr/lib/x86_64-linux-gnu/libogg.so.0";
#endif
    WriteFileBytes(folder + TLAMEBinding::FileName, ReadFileBytes(foreign));
    auto impostor = std::make_shared<const TLAMEBinding>(TDynamicLibrary::OpenFromFolder(folder, TLAMEBinding::FileName));
    EXPECT_EQ(impostor->lame_init, nullptr);
    EXPECT_FALSE(impostor->Loaded());
    EXPECT_EQ(ConstructionError(impostor), kMissingLibrary);
}

#ifdef _WIN32
// MP3OutMissingLibrary.sh runs this from a copy of the program in a folder without lame_enc.dll.
TEST(MP3OutLibrary, ProgramFolderWithoutLameDll)
{
    if (FileExists(ProgramFolder() + "lame_enc.dll"))
        GTEST_SKIP() << "lame_enc.dll is beside the program";
    EXPECT_EQ(ConstructionError(HoldLAMELibrary()), kMissingLibrary);
    EXPECT_FALSE(LAMELibraryHeld());
}
#endif

TEST(MP3OutLibrary, LibraryStaysLoadedWhileAnyOutputLives)
{
    ASSERT_FALSE(LAMELibraryHeld()) << "an output of another test is still alive";
    const std::string folder = TestFolder("mp3-two-outputs");
    auto first = std::make_unique<TMP3Out>();
    auto second = std::make_unique<TMP3Out>();
    EXPECT_TRUE(LAMELibraryHeld());
    first.reset();
    EXPECT_TRUE(LAMELibraryHeld());

    // The library the first output loaded still serves the second.
    TMemoryInput input(MakeTestSignal(kSecond / 4, 2));
    ASSERT_TRUE(Encode(*second, input, folder + "second.mp3").done);
    ExpectConstantBitRate(ScanFile(folder + "second.mp3"), 128);
    second.reset();
    EXPECT_FALSE(LAMELibraryHeld());

    // Loaded again by the next output.
    TMP3Out third;
    EXPECT_TRUE(LAMELibraryHeld());
    ASSERT_TRUE(Encode(third, input, folder + "third.mp3").done);
    EXPECT_EQ(ReadFileBytes(folder + "third.mp3"), ReadFileBytes(folder + "second.mp3"));
}

TEST(MP3OutFailures, NegativeEncoderResultIsReportedAndTheFileFinished)
{
    const std::string folder = TestFolder("mp3-encoder-error");
    // LAME takes 1 kHz up to 8 kHz: one read then makes more MP3 data than the buffer holds.
    struct Case {
        int channels;
        const char* call;
    };
    for (const Case& c : {Case{2, "lame_encode_buffer_interleaved"}, Case{1, "lame_encode_buffer"}}) {
        SCOPED_TRACE(c.call);
        const std::string file = folder + std::to_string(c.channels) + "ch.mp3";
        TMemoryInput input(MakeTestSignal(kSecond, c.channels), 1000, 16, c.channels);
        TMP3Out output;
        const RunResult run = Encode(output, input, file);
        EXPECT_FALSE(run.done);
        EXPECT_EQ(run.error.value_or(""), "Encoding \"" + file + "\" failed: " + c.call + " returned error -1.");
        EXPECT_EQ(input.stopCount, 1);
        EXPECT_EQ(output.Status(), osIdle);
        // Finished all the same: the flush went in and the file was closed.
        EXPECT_FALSE(ReadFileBytes(file).empty());

        // The output is ready for the next run.
        TMemoryInput good(MakeTestSignal(kSecond / 4, c.channels), 44100, 16, c.channels);
        ASSERT_TRUE(Encode(output, good, file).done);
        ExpectConstantBitRate(ScanFile(file), 128);
    }
}

TEST(MP3OutFailures, ShortWriteIsReported)
{
    const std::string full = FullDevice();
    if (full.empty())
        GTEST_SKIP() << "no device that takes no bytes here";
    TMemoryInput input(MakeTestSignal(kSecond, 2));
    TMP3Out output;
    const RunResult run = Encode(output, input, full);
    EXPECT_FALSE(run.done);
    EXPECT_EQ(run.error.value_or("").rfind("Cannot write to file \"" + full + "\"", 0), 0u) << run.error.value_or("");
    EXPECT_EQ(input.stopCount, 1);
    EXPECT_EQ(output.Status(), osIdle);
}

TEST(MP3OutFailures, FailedStartLeavesInputStoppedAndOutputReusable)
{
    const std::string file = TestFolder("mp3-start") + "start.mp3";
    TMemoryInput input(MakeTestSignal(kSecond / 4, 2));
    TMP3Out output;
    output.SetInput(&input);
    EXPECT_EQ(RunToEnd(output).error.value_or(""), "File name is not assigned.");
    EXPECT_EQ(input.startCount, 0);

    input.FailStartReading("drive not ready");
    output.SetFileName(file);
    EXPECT_EQ(RunToEnd(output).error.value_or(""), "drive not ready");
    EXPECT_EQ(input.stopCount, 1);
    EXPECT_EQ(output.Status(), osIdle);

    TMemoryInput good(MakeTestSignal(kSecond / 4, 2));
    ASSERT_TRUE(Encode(output, good, file).done);
    ExpectConstantBitRate(ScanFile(file), 128);
}

// Formats without whole bytes per frame leave LAME's sample count unset instead of
// dividing by zero; the run goes through.
TEST(MP3OutFailures, FormatWithoutWholeBytesPerFrameDoesNotDivideByZero)
{
    const std::string folder = TestFolder("mp3-odd-format");
    struct Case {
        std::int32_t bits, channels;
    };
    for (const Case& c : {Case{4, 2}, Case{16, 0}}) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, " + std::to_string(c.channels) + " channels");
        TMemoryInput input(MakeTestSignal(kSecond / 4, 2), 44100, c.bits, c.channels);
        TMP3Out output;
        const RunResult run = Encode(output, input, folder + "odd.mp3");
        ASSERT_TRUE(run.done) << run.error.value_or("");
        EXPECT_TRUE(ScanFile(folder + "odd.mp3").wellFormed);
    }
}
