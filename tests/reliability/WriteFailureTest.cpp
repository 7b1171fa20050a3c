// Write failures in the middle of a file, for every format: the run ends with a message
// that names the cause, the input is stopped and the file is closed. Also the places where
// appending to a WAV file and the APE library met such faults.
#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

#include "common/PipelineTestKit.h"
#include "mac/MACDll.h"
#include "outputs/AudioWave.h"
#include "outputs/WaveHeader.h"
#include "tools/rip/Formats.h"

namespace {

using namespace testkit;

// Whether this process still holds the file open.
bool HeldOpen(const std::string& path)
{
    DIR* fds = opendir("/proc/self/fd");
    if (!fds)
        return false;
    bool held = false;
    char target[PATH_MAX];
    while (dirent* entry = readdir(fds)) {
        const std::string link = std::string("/proc/self/fd/") + entry->d_name;
        const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
        if (n > 0 && std::string(target, static_cast<std::size_t>(n)) == path)
            held = true;
    }
    closedir(fds);
    return held;
}

struct TWriteFailureCase {
    const char* format;
    const char* extension;
    // How the message starts; the file name follows where %s stands.
    const char* expected;
};

const TWriteFailureCase kCases[] = {
    {"Wav", "wav", "Cannot write to file \"%s\" ("},
    {"Ogg", "ogg", "Cannot write to file \"%s\" ("},
    {"FLAC", "flac", "Cannot write to file \"%s\" ("},
    {"MP3", "mp3", "Cannot write to file \"%s\" ("},
    // The library's write error comes from the call whose frame could not be written.
    {"Ape", "ape", "APECompress.UnlockBuffer Error: 1001"},
};

} // namespace

TEST(WriteFailures, EveryFormatEndsTheRunWithTheCauseAndClosesTheFile)
{
    const std::string folder = TestFolder("WriteFailures");
    // More than one APE frame (294,912 sample frames), so that a frame is written in a step.
    const auto pcm = MakeTestSignal(320000);
    for (const TWriteFailureCase& c : kCases) {
        SCOPED_TRACE(c.format);
        const TRipFormat* format = FindRipFormat(c.format);
        ASSERT_TRUE(format);
        const std::string file = folder + "Track-01." + c.extension;
        TMemoryInput input(pcm);
        std::unique_ptr<TAudioFileOut> output = format->Create(nullptr);
        output->SetFileName(file);
        output->SetInput(&input);
        RunResult result;
        {
            TFileSizeLimit limit(40000);
            result = RunToEnd(*output);
        }
        EXPECT_FALSE(result.done) << "a file cut short must not pass for a finished one";
        ASSERT_TRUE(result.error);
        std::string expected = c.expected;
        if (const auto at = expected.find("%s"); at != std::string::npos)
            expected.replace(at, 2, file);
        EXPECT_EQ(result.error->rfind(expected, 0), 0u) << *result.error;
        if (std::strcmp(c.format, "Ape") != 0)
            EXPECT_NE(result.error->find("File too large"), std::string::npos) << *result.error;
        EXPECT_EQ(input.stopCount, input.startCount);
        EXPECT_EQ(output->Status(), osIdle);
        EXPECT_FALSE(HeldOpen(file)) << "the partial file is closed";
        EXPECT_LE(ReadFileBytes(file).size(), 40000u);
        EXPECT_LT(input.Position(), static_cast<std::int32_t>(pcm.size())) << "the run stopped at the failure";
    }
}

TEST(WriteFailures, TheApeLibraryFailsTheUnlockWhoseFrameCannotBeWritten)
{
    const std::string file = TestFolder("ApeUnlockWriteFailure") + "frame.ape";
    std::int32_t error = 0;
    void* compressor = c_APECompress_Create(&error);
    ASSERT_TRUE(compressor);
    TWaveFormatEx format{};
    ASSERT_EQ(FillWaveFormatEx(&format, 44100, 16, 2), 0);
    ASSERT_EQ(c_APECompress_Start(compressor, file.c_str(), &format, -1, 2000, nullptr, -1), 0);
    std::vector<std::int32_t> results;
    {
        TFileSizeLimit limit(20000);
        for (int i = 0; i < 40 && (results.empty() || results.back() == 0); ++i) {
            std::int32_t room = 0;
            std::uint8_t* buffer = c_APECompress_LockBuffer(compressor, &room);
            ASSERT_TRUE(buffer);
            const std::int32_t n = std::min(room, 65536);
            std::memset(buffer, i * 3 + 1, static_cast<std::size_t>(n));
            results.push_back(c_APECompress_UnlockBuffer(compressor, n, 1));
        }
        // 294,912 sample frames of 4 bytes fill the first frame with the 18th piece of 65,536.
        EXPECT_EQ(results.size(), 18u);
        EXPECT_EQ(results.back(), MAC_ERROR_IO_WRITE);
        std::int32_t room = -1;
        EXPECT_EQ(c_APECompress_LockBuffer(compressor, &room), nullptr) << "nothing more is taken";
        EXPECT_EQ(room, 0);
        EXPECT_EQ(c_APECompress_UnlockBuffer(compressor, 0, 1), MAC_ERROR_IO_WRITE);
        EXPECT_EQ(c_APECompress_Finish(compressor, nullptr, 0, 0), MAC_ERROR_IO_WRITE);
    }
    EXPECT_FALSE(HeldOpen(file)) << "Finish closes the file even after a failure";
    c_APECompress_Destroy(compressor);
}

// The scan accepts a "RIFF" after stray bytes; appending must patch that header's size
// field, not offset 4, or the file is no longer a WAV file.
TEST(WaveAppendFaults, AHeaderAfterStrayBytesIsPatchedWhereItIs)
{
    const std::string file = TestFolder("WaveAppendStrayBytes") + "stray.wav";
    const auto first = MakeTestSignal(1000);
    {
        TMemoryInput input(first);
        TWaveOut output;
        output.SetFileName(file);
        output.SetInput(&input);
        ASSERT_TRUE(RunToEnd(output).done);
    }
    std::vector<std::uint8_t> bytes = {'x', 'y', 'z'};
    const auto written = ReadFileBytes(file);
    bytes.insert(bytes.end(), written.begin(), written.end());
    WriteFileBytes(file, bytes);

    const auto second = MakeTestSignal(500, 2, 9);
    TMemoryInput input(second);
    TWaveOut output;
    output.SetFileMode(foAppend);
    output.SetFileName(file);
    output.SetInput(&input);
    ASSERT_TRUE(RunToEnd(output).done);

    const auto after = ReadFileBytes(file);
    ASSERT_EQ(after.size(), 3 + 44 + first.size() + second.size());
    EXPECT_EQ(std::string(after.begin(), after.begin() + 7), "xyzRIFF");
    EXPECT_EQ(GetUInt32LE(&after[7]), after.size() - 11) << "RIFF size where the header has it";
    EXPECT_EQ(std::string(after.begin() + 11, after.begin() + 15), "WAVE");
    EXPECT_EQ(GetUInt32LE(&after[3 + 40]), first.size() + second.size());
    EXPECT_TRUE(std::equal(second.begin(), second.end(), after.end() - static_cast<std::ptrdiff_t>(second.size())));
}

// "WAVE" is looked for after the RIFF size field: a file whose only "WAVE" lies inside
// that field is not one to append to, since patching the field would destroy the tag.
TEST(WaveAppendFaults, AWaveTagInsideTheRiffSizeIsNotAccepted)
{
    const std::string file = TestFolder("WaveAppendTagInSize") + "overlap.wav";
    std::vector<std::uint8_t> bytes = {'R', 'I', 'F', 'F', 0x10, 0x00, 'W', 'A', 'V', 'E'};
    const std::uint8_t rest[] = {'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1,
                                 2,   0,   4,   0,   16, 0, 'd', 'a', 't', 'a', 0, 0, 0, 0};
    bytes.insert(bytes.end(), std::begin(rest), std::end(rest));
    WriteFileBytes(file, bytes);
    TFileStream stream(file, fmOpenRead);
    EXPECT_EQ(ScanWaveHeader(stream).Kind, wtUnsupported);
}
