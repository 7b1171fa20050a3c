// End to end: a demo disc track read by the CD input, as the program reads a CD,
// through the MP3 output with the main window's settings (br128, foRewrite).
#include <gtest/gtest.h>

#include <iostream>

#include "cdrom/AudioCDROM.h"
#include "common/DemoDisc.h"
#include "common/PipelineTestKit.h"
#include "outputs/AudioLAME.h"
#include "outputs/MP3OutFrames.h"

using namespace testkit;

TEST(MP3OutFromCD, RippedTrackIsConstant128KbpsAndSoundsLikeTheTrack)
{
    const std::string folder = TestFolder("mp3-from-cd");
    const TDemoTrack track = DemoTrack(2);
    ASSERT_TRUE(track.Audio) << "no demo disc in " << DemoDiscFolder();
    const std::vector<std::uint8_t> pcm = DemoTrackBytes(track);
    RegisterImageDrive(DemoDiscCue());

    TCDIn cd;
    ASSERT_GT(cd.DriveCount(), 0);
    cd.SetCurrentDrive(cd.DriveCount() - 1);
    cd.SetStartTrack(track.Number);
    cd.SetEndTrack(track.Number);
    TMP3Out output;
    output.SetFileMode(foRewrite);
    output.SetBitRate(TMP3BitRate::br128);
    const std::string file = folder + "Track-0" + std::to_string(track.Number) + ".mp3";
    output.SetFileName(file);
    output.SetInput(&cd);

    const RunResult result = RunToEnd(output);
    ASSERT_TRUE(result.done) << result.error.value_or("no end");
    EXPECT_EQ(result.progressValues.back(), 100);

    const mp3test::TMpegLayout layout = mp3test::ScanMpegFile(ReadFileBytes(file));
    ASSERT_TRUE(layout.wellFormed) << layout.problem;
    for (const auto& frame : layout.frames) {
        ASSERT_EQ(frame.kbps, 128);
        ASSERT_EQ(frame.sampleRate, 44100);
        ASSERT_FALSE(frame.monoMode);
    }
    // The whole track, after LAME's empty tag frame and delay, within LAME's end padding.
    const std::size_t trackSamples = pcm.size() / 4;
    EXPECT_GE(layout.frames.size() * 1152, trackSamples + 1152 + 576);
    EXPECT_LE(layout.frames.size() * 1152, trackSamples + 1152 + 576 + 3 * 1152);

    WriteFileBytes(file + ".raw", pcm);
    const std::string name = file.substr(folder.size());
    const std::string expectations = "kbps=128\nrate=44100\nsource=" + name + ".raw\nsource_channels=2\n"
                                     "compare_seconds=20\nno_tags=1\n";
    WriteFileBytes(file + ".expected", std::vector<std::uint8_t>(expectations.begin(), expectations.end()));
#ifndef _WIN32
    std::string report;
    EXPECT_EQ(RunCommand("bash '" MP3OUT_CHECK_SCRIPT "' '" + file + "' 2>&1", &report), 0) << report;
    std::cout << report;
#endif
}
