#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "FLACOutSupport.h"
#include "common/PipelineTestKit.h"
#include "outputs/AudioFLAC.h"

#ifdef _WIN32
#include "classlib/Program.h"
#include "classlib/Unicode.h"
#else
#include <csignal>
#include <sys/resource.h>
#endif

using namespace testkit;
using namespace flactest;

namespace {

constexpr std::size_t kBlock = 4608;

std::string ThisTestFolder()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return TestFolder(std::string("FLACOut.") + info->test_suite_name() + "." + info->name());
}

bool RemoveFile(const std::string& fileName)
{
#ifdef _WIN32
    std::filesystem::path path(Utf8ToWide(fileName));
#else
    std::filesystem::path path(fileName);
#endif
    std::error_code error;
    return std::filesystem::remove(path, error);
}

std::vector<std::string> CallNames()
{
    std::vector<std::string> names;
    for (const Call& call : Calls())
        names.push_back(call.name);
    return names;
}

bool Contains(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// 16-bit samples widened to 24 bits with a changing low byte, or narrowed to unsigned 8 bits.
std::vector<std::uint8_t> Widen16To24(const std::vector<std::uint8_t>& pcm16)
{
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i + 1 < pcm16.size(); i += 2) {
        out.push_back(static_cast<std::uint8_t>(i * 37 + 11));
        out.push_back(pcm16[i]);
        out.push_back(pcm16[i + 1]);
    }
    return out;
}

std::vector<std::uint8_t> Narrow16To8(const std::vector<std::uint8_t>& pcm16)
{
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i + 1 < pcm16.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(pcm16[i + 1] ^ 0x80));
    return out;
}

std::vector<std::uint8_t> Prefix(const std::vector<std::uint8_t>& bytes, std::size_t count)
{
    return std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

std::string Describe(const RunResult& result) { return result.error.value_or(result.done ? "done" : "no end"); }

} // namespace

// --- Encoding: what reaches the file ---

TEST(FLACOutEncoding, StereoSignalDecodesToItsBytesOneBlockPerStep)
{
    const std::size_t frames = 3 * 44100 + 1234;
    const std::vector<std::uint8_t> pcm = MakeTestSignal(frames);
    TMemoryInput input(pcm);
    input.SetMaxRead(1000); // a step still gathers one whole block from small reads
    TFLACOut output(nullptr, LoggingApi());
    const std::string file = ThisTestFolder() + "Track-01.flac";
    output.SetFileName(file);
    output.SetInput(&input);
    ClearCalls();

    RunResult result = RunToEnd(output);
    ASSERT_TRUE(result.done) << Describe(result);
    EXPECT_EQ(input.startCount, 1);
    EXPECT_EQ(input.stopCount, 1);
    EXPECT_EQ(result.progressValues.back(), 100);

    std::vector<std::uint64_t> blocks = ValuesOf("process_interleaved");
    ASSERT_EQ(blocks.size(), frames / kBlock + 1);
    for (std::size_t i = 0; i + 1 < blocks.size(); ++i)
        EXPECT_EQ(blocks[i], kBlock) << "step " << i;
    EXPECT_EQ(blocks.back(), frames % kBlock) << "the last step passes the remainder";

    StreamInfo info = ReadStreamInfo(ReadFileBytes(file));
    EXPECT_EQ(info.sampleRate, 44100u);
    EXPECT_EQ(info.channels, 2u);
    EXPECT_EQ(info.bitsPerSample, 16u);
    EXPECT_EQ(info.totalSamples, frames);
    std::string report;
    EXPECT_TRUE(ToolsAccept(file, pcm, &report)) << report;
}

TEST(FLACOutEncoding, MonoSignalDecodesToItsBytes)
{
    const std::size_t frames = 44100 + 17;
    const std::vector<std::uint8_t> pcm = MakeTestSignal(frames, 1, 5);
    TMemoryInput input(pcm, 22050, 16, 1);
    TFLACOut output;
    const std::string file = ThisTestFolder() + "mono.flac";
    output.SetFileName(file);
    output.SetInput(&input);

    RunResult result = RunToEnd(output);
    ASSERT_TRUE(result.done) << Describe(result);
    StreamInfo info = ReadStreamInfo(ReadFileBytes(file));
    EXPECT_EQ(info.sampleRate, 22050u);
    EXPECT_EQ(info.channels, 1u);
    EXPECT_EQ(info.totalSamples, frames);
    std::string report;
    EXPECT_TRUE(ToolsAccept(file, pcm, &report)) << report;
}

TEST(FLACOutEncoding, UnknownSizeGivesNoEstimateAndTheHeaderIsCompletedAtTheEnd)
{
    const std::size_t frames = 2 * kBlock + 100;
    const std::vector<std::uint8_t> pcm = MakeTestSignal(frames, 2, 9);
    TMemoryInput input(pcm);
    input.ReportUnknownSize();
    TFLACOut output(nullptr, LoggingApi());
    const std::string file = ThisTestFolder() + "unknown size.flac";
    output.SetFileName(file);
    output.SetInput(&input);
    ClearCalls();

    RunResult result = RunToEnd(output);
    ASSERT_TRUE(result.done) << Describe(result);
    EXPECT_FALSE(Contains(CallNames(), "set_total_samples_estimate"));
    EXPECT_EQ(result.progressValues, std::vector<std::int32_t>{-1});
    EXPECT_EQ(ReadStreamInfo(ReadFileBytes(file)).totalSamples, frames);
    std::string report;
    EXPECT_TRUE(ToolsAccept(file, pcm, &report)) << report;
}

TEST(FLACOutEncoding, EmptyInputGivesAValidStreamWithoutFrames)
{
    TMemoryInput input({});
    TFLACOut output(nullptr, LoggingApi());
    const std::string file = ThisTestFolder() + "empty.flac";
    output.SetFileName(file);
    output.SetInput(&input);
    ClearCalls();

    RunResult result = RunToEnd(output);
    ASSERT_TRUE(result.done) << Describe(result);
    EXPECT_EQ(input.stopCount, 1);
    const std::vector<std::string> names = CallNames();
    EXPECT_FALSE(Contains(names, "set_total_samples_estimate")) << "Size 0 gives no estimate";
    EXPECT_FALSE(Contains(names, "process_interleaved"));

    const std::vector<std::uint8_t> bytes = ReadFileBytes(file);
    StreamInfo info = ReadStreamInfo(bytes);
    EXPECT_EQ(info.totalSamples, 0u);
    EXPECT_EQ(info.audioOffset, bytes.size()) << "nothing follows the metadata";
    std::string report;
    EXPECT_TRUE(ToolsAccept(file, {}, &report)) << report;
}

TEST(FLACOutEncoding, StopLeavesACompleteShorterStream)
{
    const std::size_t frames = 10 * 44100;
    const std::vector<std::uint8_t> pcm = MakeTestSignal(frames, 2, 3);
    TMemoryInput input(pcm);
    TFLACOut output;
    const std::string file = ThisTestFolder() + "stopped.flac";
    output.SetFileName(file);
    output.SetInput(&input);
    std::atomic<bool> done{false};
    std::atomic<int> errors{0};
    output.OnProgress = [&](TComponent*) {
        if (output.Progress() >= 20)
            output.Stop();
    };
    output.OnDone = [&](TComponent*) { done = true; };
    output.OnThreadException = [&](TComponent*, const Exception&) { ++errors; };

    output.Start();
    ASSERT_TRUE(WaitFor([&] { return done.load(); }));
    ASSERT_TRUE(WaitFor([&] { return output.Status() == osIdle; }));
    EXPECT_EQ(errors.load(), 0);
    EXPECT_EQ(input.stopCount, 1);

    StreamInfo info = ReadStreamInfo(ReadFileBytes(file));
    EXPECT_GT(info.totalSamples, 0u);
    EXPECT_LT(info.totalSamples, frames / 2);
    EXPECT_EQ(info.totalSamples % kBlock, 0u) << "whole blocks up to the stop";
    std::string report;
    EXPECT_TRUE(ToolsAccept(file, Prefix(pcm, static_cast<std::size_t>(info.totalSamples) * 4), &report)) << report;
}

TEST(FLACOutEncoding, EightAndTwentyFourBitInputsDecodeExactly)
{
    const std::vector<std::uint8_t> pcm16 = MakeTestSignal(kBlock + 333, 2, 4);
    const std::string folder = ThisTestFolder();
    for (int bits : {8, 24}) {
        SCOPED_TRACE(bits);
        const std::vector<std::uint8_t> pcm = bits == 8 ? Narrow16To8(pcm16) : Widen16To24(pcm16);
        TMemoryInput input(pcm, 44100, bits, 2);
        TFLACOut output;
        const std::string file = folder + std::to_string(bits) + "-bit.flac";
        output.SetFileName(file);
        output.SetInput(&input);

        RunResult result = RunToEnd(output);
        ASSERT_TRUE(result.done) << Describe(result);
        StreamInfo info = ReadStreamInfo(ReadFileBytes(file));
        EXPECT_EQ(info.bitsPerSample, static_cast<unsigned>(bits));
        EXPECT_EQ(info.totalSamples, kBlock + 333);
        std::string report;
        EXPECT_TRUE(ToolsAccept(file, SignedPcm(pcm, bits), &report)) << report;
    }
}

TEST(FLACOutEncoding, BlockSizeZeroLetsTheEncoderChooseTheStep)
{
    const std::size_t frames = 5000;
    const std::vector<std::uint8_t> pcm = MakeTestSignal(frames, 2, 6);
    TMemoryInput input(pcm);
    TFLACOut output(nullptr, LoggingApi());
    output.SetBlockSize(0);
    const std::string file = ThisTestFolder() + "block size 0.flac";
    output.SetFileName(file);
    output.SetInput(&input);
    ClearCalls();

    RunResult result = RunToEnd(output);
    ASSERT_TRUE(result.done) << Describe(result);
    // libFLAC picks 1152 frames when no LPC is used.
    EXPECT_EQ(ValuesOf("process_interleaved"), (std::vector<std::uint64_t>{1152, 1152, 1152, 1152, 392}));
    std::string report;
    EXPECT_TRUE(ToolsAccept(file, pcm, &report)) << report;
}

TEST(FLACOutEncoding, EveryRunReplacesTheFile)
{
    TFLACOut output;
    output.SetFileMode(foAppend);
    EXPECT_EQ(output.FileMode(), foRewrite);
    const std::string file = ThisTestFolder() + "Track-02.flac";
    WriteFileBytes(file, std::vector<std::uint8_t>(1 << 20, 0xEE));
    output.SetFileName(file);

    const std::vector<std::uint8_t> first = MakeTestSignal(3 * kBlock, 2, 7);
    const std::vector<std::uint8_t> second = MakeTestSignal(kBlock / 2, 2, 8);
    TMemoryInput input1(first), input2(second);
    output.SetInput(&input1);
    RunResult result = RunToEnd(output);
    ASSERT_TRUE(result.done) << Describe(result);
    output.SetInput(&input2);
    result = RunToEnd(output);
    ASSERT_TRUE(result.done) << Describe(result);

    EXPECT_EQ(ReadStreamInfo(ReadFileBytes(file)).totalSamples, kBlock / 2);
    std::string report;
    EXPECT_TRUE(ToolsAccept(file, second, &report)) << report;
}

// --- Settings and how they reach the encoder ---

TEST(FLACOutSettings, DefaultsAreTheMainWindowsSettings)
{
    TFLACOut output;
    EXPECT_FALSE(output.Verify());
    EXPECT_EQ(output.BlockSize(), 4608);
    EXPECT_FALSE(output.BestModelSearch());
    EXPECT_TRUE(output.EnableMidSideStereo());
    EXPECT_EQ(output.MaxLPCOrder(), 0);
    EXPECT_FALSE(output.EnableLooseMidSideStereo());
    EXPECT_EQ(output.QLPCoeffPrecision(), 0);
    EXPECT_FALSE(output.QLPCoeffPrecisionSearch());
    EXPECT_EQ(output.MaxResidualPartitionOrder(), 0);
    EXPECT_EQ(output.MinResidualPartitionOrder(), 0);
    EXPECT_EQ(output.FileMode(), foRewrite);
}

TEST(FLACOutSettings, LooseMidSideAndBestModelSearchAdjustTheStereoSettings)
{
    TFLACOut output;
    output.SetEnableMidSideStereo(false);
    output.SetEnableLooseMidSideStereo(true);
    EXPECT_TRUE(output.EnableMidSideStereo()) << "loose mid-side needs mid-side";
    EXPECT_TRUE(output.EnableLooseMidSideStereo());

    output.SetBestModelSearch(true);
    EXPECT_TRUE(output.BestModelSearch());
    EXPECT_TRUE(output.EnableMidSideStereo());
    EXPECT_FALSE(output.EnableLooseMidSideStereo()) << "best model search uses strict mid-side";

    output.SetEnableMidSideStereo(false);
    output.SetEnableLooseMidSideStereo(false);
    output.SetBestModelSearch(false);
    EXPECT_FALSE(output.EnableMidSideStereo()) << "turning things off changes nothing else";
    EXPECT_FALSE(output.BestModelSearch());
}

TEST(FLACOutSettings, EncoderReceivesEverySettingInOrder)
{
    const std::size_t frames = 44100 + 1;
    const std::vector<std::uint8_t> pcm = MakeTestSignal(frames, 2, 10);
    TMemoryInput input(pcm);
    TFLACOut output(nullptr, LoggingApi());
    output.SetVerify(true);
    output.SetBlockSize(1152);
    output.SetMaxLPCOrder(8);
    output.SetQLPCoeffPrecision(12);
    output.SetQLPCoeffPrecisionSearch(true);
    output.SetMinResidualPartitionOrder(2);
    output.SetMaxResidualPartitionOrder(6);
    output.SetEnableLooseMidSideStereo(true);
    const std::string file = ThisTestFolder() + "all settings.flac";
    output.SetFileName(file);
    output.SetInput(&input);
    ClearCalls();

    RunResult result = RunToEnd(output);
    ASSERT_TRUE(result.done) << Describe(result);
    std::vector<Call> calls = Calls();
    ASSERT_GE(calls.size(), 15u);
    calls.resize(15);
    EXPECT_EQ(calls, (std::vector<Call>{{"set_verify", 1},
                                        {"set_channels", 2},
                                        {"set_bits_per_sample", 16},
                                        {"set_sample_rate", 44100},
                                        {"set_do_mid_side_stereo", 1},
                                        {"set_loose_mid_side_stereo", 1},
                                        {"set_blocksize", 1152},
                                        {"set_max_lpc_order", 8},
                                        {"set_qlp_coeff_precision", 12},
                                        {"set_do_qlp_coeff_prec_search", 1},
                                        {"set_min_residual_partition_order", 2},
                                        {"set_max_residual_partition_order", 6},
                                        {"set_do_exhaustive_model_search", 0},
                                        {"set_total_samples_estimate", frames},
                                        {"init_stream", 1}}));
    std::string report;
    EXPECT_TRUE(ToolsAccept(file, pcm, &report)) << report;
}

TEST(FLACOutSettings, MonoInputSkipsTheMidSideSettings)
{
    TFLACOut output(nullptr, LoggingApi());
    output.SetEnableLooseMidSideStereo(true);
    output.SetFileName(ThisTestFolder() + "mono.flac");
    TMemoryInput stereo(MakeTestSignal(1000, 2));
    TMemoryInput mono(MakeTestSignal(1000, 1), 44100, 16, 1);
    output.SetInput(&mono);
    ClearCalls();
    RunResult result = RunToEnd(output);
    ASSERT_TRUE(result.done) << Describe(result);
    std::vector<std::string> names = CallNames();
    EXPECT_FALSE(Contains(names, "set_do_mid_side_stereo"));
    EXPECT_FALSE(Contains(names, "set_loose_mid_side_stereo"));
    EXPECT_TRUE(Contains(names, "set_blocksize")) << "the other settings still go in";

    output.SetInput(&stereo);
    ClearCalls();
    result = RunToEnd(output);
    ASSERT_TRUE(result.done) << Describe(result);
    EXPECT_EQ(ValuesOf("set_do_mid_side_stereo"), std::vector<std::uint64_t>{1});
    EXPECT_EQ(ValuesOf("set_loose_mid_side_stereo"), std::vector<std::uint64_t>{1});
}

TEST(FLACOutSettings, QLPPrecisionIsLoweredToFitTheSampleWidthAndStays)
{
    const std::vector<std::uint8_t> pcm = MakeTestSignal(2 * kBlock, 2, 11);
    TMemoryInput input(pcm);
    TFLACOut output(nullptr, LoggingApi());
    output.SetMaxLPCOrder(8);
    output.SetQLPCoeffPrecision(20);
    const std::string folder = ThisTestFolder();
    const std::string file = folder + "qlp.flac";
    output.SetFileName(file);
    output.SetInput(&input);

    ClearCalls();
    RunResult result = RunToEnd(output);
    ASSERT_TRUE(result.done) << Describe(result);
    EXPECT_EQ(ValuesOf("set_qlp_coeff_precision"), std::vector<std::uint64_t>{15});
    EXPECT_EQ(output.QLPCoeffPrecision(), 15) << "the property keeps the lowered value";
    std::string report;
    EXPECT_TRUE(ToolsAccept(file, pcm, &report)) << report;

    ClearCalls();
    result = RunToEnd(output);
    ASSERT_TRUE(result.done) << Describe(result);
    EXPECT_EQ(ValuesOf("set_qlp_coeff_precision"), std::vector<std::uint64_t>{15});

    const std::vector<std::uint8_t> pcm24 = Widen16To24(pcm);
    TMemoryInput wide(pcm24, 44100, 24, 2);
    output.SetInput(&wide);
    output.SetQLPCoeffPrecision(20);
    const std::string file24 = folder + "qlp 24-bit.flac";
    output.SetFileName(file24);
    ClearCalls();
    result = RunToEnd(output);
    ASSERT_TRUE(result.done) << Describe(result);
    EXPECT_EQ(ValuesOf("set_qlp_coeff_precision"), std::vector<std::uint64_t>{7});
    EXPECT_EQ(output.QLPCoeffPrecision(), 7);
    EXPECT_TRUE(ToolsAccept(file24, SignedPcm(pcm24, 24), &report)) << report;
}

TEST(FLACOutSettings, TotalSamplesEstimateRoundsHalvesToEven)
{
    TFLACOut output(nullptr, LoggingApi());
    output.SetFileName(ThisTestFolder() + "estimate.flac");
    // 10 bytes of 16-bit stereo are 2.5 frames, 14 bytes 3.5 frames.
    for (auto [bytes, estimate] : {std::pair<std::size_t, std::uint64_t>{10, 2}, {14, 4}}) {
        TMemoryInput input(std::vector<std::uint8_t>(bytes, 1));
        output.SetInput(&input);
        ClearCalls();
        RunResult result = RunToEnd(output);
        ASSERT_TRUE(result.done) << Describe(result);
        EXPECT_EQ(ValuesOf("set_total_samples_estimate"), std::vector<std::uint64_t>{estimate}) << bytes;
    }
}

// --- Failures ---

TEST(FLACOutFailures, MissingOrForeignLibraryIsReportedByTheConstructor)
{
    auto expectRefused = [](const TFLACEncoderApi& api) {
        EXPECT_FALSE(api.Loaded);
        try {
            TFLACOut output(nullptr, api);
            ADD_FAILURE() << "the constructor must raise";
        } catch (const EAudioException& e) {
            EXPECT_EQ(e.Message(), "libFLAC.dll library could not be loaded.");
        }
    };
    TFLACBinding missing(TDynamicLibrary::OpenFromFolder(ThisTestFolder(), TFLACBinding::FileName));
    expectRefused(missing.Api());
    // A library that loads under the name but lacks the encoder's entry points.
#ifdef _WIN32
    TFLACBinding foreign(TDynamicLibrary::Open("ogg.dll"));
#else
    TFLACBinding foreign(TDynamicLibrary::Open("libogg.so.0"));
#endif
    expectRefused(foreign.Api());

    EXPECT_TRUE(FLACLibrary().Api().Loaded);
    EXPECT_NO_THROW(TFLACOut{});
}

#ifdef _WIN32
// FLACOutMissingLibrary.sh runs this from a folder that lacks libFLAC.dll; beside the
// library there is nothing to check.
TEST(FLACOutMissingLibrary, ConstructorRefusesWhenTheProgramFolderLacksIt)
{
    if (FileExists(ProgramFolder() + "libFLAC.dll"))
        GTEST_SKIP() << "libFLAC.dll is beside the program";
    EXPECT_FALSE(FLACLibrary().Api().Loaded);
    try {
        TFLACOut output;
        ADD_FAILURE() << "the constructor must raise";
    } catch (const EAudioException& e) {
        EXPECT_EQ(e.Message(), "libFLAC.dll library could not be loaded.");
    }
}
#endif

TEST(FLACOutFailures, EmptyFileNameIsReportedAndNothingStarts)
{
    TMemoryInput input(MakeTestSignal(100));
    TFLACOut output;
    output.SetInput(&input);
    RunResult result = RunToEnd(output);
    EXPECT_FALSE(result.done);
    EXPECT_EQ(result.error, "File name is not assigned.");
    EXPECT_EQ(input.startCount, 0);
    EXPECT_EQ(output.Status(), osIdle);
}

TEST(FLACOutFailures, RefusedSetupReportsInitFailureAndCleansUp)
{
    const std::string folder = ThisTestFolder();
    struct Case {
        const char* what;
        std::uint16_t blockSize, maxLPCOrder, qlpPrecision;
        std::int32_t bits;
        std::int32_t channels = 2;
    };
    for (const Case& c : {Case{"block below the minimum of 16", 8, 0, 0, 16},
                          Case{"QLP precision below the minimum of 5", 4608, 8, 3, 16},
                          Case{"12-bit samples have no byte layout here", 4608, 0, 0, 12},
                          Case{"no channels", 4608, 0, 0, 16, 0}, Case{"nine channels", 4608, 0, 0, 16, 9}}) {
        SCOPED_TRACE(c.what);
        TMemoryInput input(MakeTestSignal(100), 44100, c.bits, c.channels);
        TFLACOut output;
        output.SetBlockSize(c.blockSize);
        output.SetMaxLPCOrder(c.maxLPCOrder);
        output.SetQLPCoeffPrecision(c.qlpPrecision);
        const std::string file = folder + "refused.flac";
        output.SetFileName(file);
        output.SetInput(&input);

        RunResult result = RunToEnd(output);
        EXPECT_FALSE(result.done);
        EXPECT_EQ(result.error, "Failed to initialize FLAC encoder.");
        EXPECT_EQ(input.startCount, 1);
        EXPECT_EQ(input.stopCount, 1) << "the input is stopped again";
        EXPECT_EQ(output.Status(), osIdle);
        EXPECT_TRUE(RemoveFile(file)) << "the file is closed";
    }
}

TEST(FLACOutFailures, InputThatCannotStartLeavesNoFileOpen)
{
    TMemoryInput input(MakeTestSignal(100));
    input.FailStartReading("The drive is not ready.");
    TFLACOut output;
    const std::string file = ThisTestFolder() + "not started.flac";
    output.SetFileName(file);
    output.SetInput(&input);
    RunResult result = RunToEnd(output);
    EXPECT_EQ(result.error, "The drive is not ready.");
    EXPECT_EQ(input.stopCount, 0);
    EXPECT_TRUE(RemoveFile(file)) << "the file is closed";
}

TEST(FLACOutFailures, ReadFailureLeavesAFinishedStreamOfTheStepsBefore)
{
    const std::vector<std::uint8_t> pcm = MakeTestSignal(6 * kBlock, 2, 12);
    TMemoryInput input(pcm);
    input.FailReadAt(static_cast<std::int64_t>(3 * kBlock * 4 + 100));
    TFLACOut output;
    const std::string file = ThisTestFolder() + "read failure.flac";
    output.SetFileName(file);
    output.SetInput(&input);
    RunResult result = RunToEnd(output);
    EXPECT_FALSE(result.done);
    EXPECT_EQ(result.error, "test input: read failed");
    EXPECT_EQ(input.stopCount, 1);

    StreamInfo info = ReadStreamInfo(ReadFileBytes(file));
    EXPECT_EQ(info.totalSamples, 3 * kBlock);
    std::string report;
    EXPECT_TRUE(ToolsAccept(file, Prefix(pcm, 3 * kBlock * 4), &report)) << report;
}

#ifndef _WIN32
namespace {

std::size_t HeaderSize(const std::string& folder)
{
    TMemoryInput empty({});
    TFLACOut output;
    output.SetFileName(folder + "header only.flac");
    output.SetInput(&empty);
    if (!RunToEnd(output).done)
        return 0;
    return ReadFileBytes(folder + "header only.flac").size();
}

} // namespace

TEST(FLACOutFailures, WriteFailureInAStepFailsTheRun)
{
    const std::string folder = ThisTestFolder();
    const std::size_t header = HeaderSize(folder);
    ASSERT_GT(header, 0u);
    TMemoryInput input(MakeTestSignal(20 * kBlock));
    TFLACOut output;
    output.SetFileName(folder + "disk full.flac");
    output.SetInput(&input);
    RunResult result;
    {
        TFileSizeLimit limit(header + 40000);
        result = RunToEnd(output);
    }
    EXPECT_FALSE(result.done);
    ASSERT_TRUE(result.error);
    // The encoder's refusal comes from the failed write: the file and the reason are named.
    EXPECT_EQ(result.error->rfind("Cannot write to file \"" + folder + "disk full.flac\"", 0), 0u) << *result.error;
    EXPECT_EQ(input.stopCount, 1);
    EXPECT_LT(input.Position(), 20 * static_cast<std::int32_t>(kBlock) * 4) << "the run ends at the failing step";
}

TEST(FLACOutFailures, WriteFailureWhileFinishingIsNotReportedAsDone)
{
    const std::string folder = ThisTestFolder();
    const std::size_t header = HeaderSize(folder);
    ASSERT_GT(header, 0u);
    // Less than one block: the encoder holds it all until it finishes.
    TMemoryInput input(MakeTestSignal(1000));
    TFLACOut output;
    const std::string file = folder + "no room for the last frame.flac";
    output.SetFileName(file);
    output.SetInput(&input);
    RunResult result;
    {
        TFileSizeLimit limit(header);
        result = RunToEnd(output);
    }
    EXPECT_FALSE(result.done);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->rfind("Cannot write to file \"" + file + "\"", 0), 0u) << *result.error;
    EXPECT_EQ(input.stopCount, 1);
}
#endif
