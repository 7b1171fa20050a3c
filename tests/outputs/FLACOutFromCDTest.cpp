// End to end: a demo disc track read by the CD input, as the program reads a CD, through the
// FLAC output with the main window's settings.
#include <gtest/gtest.h>

#include "FLACOutSupport.h"
#include "cdrom/AudioCDROM.h"
#include "common/DemoDisc.h"
#include "common/PipelineTestKit.h"
#include "outputs/AudioFLAC.h"

using namespace testkit;
using namespace flactest;

TEST(FLACOutFromCD, RippedTrackDecodesToTheTracksBytes)
{
    const std::string folder = TestFolder("FLACOut.FromCD");
    const TDemoTrack track = DemoTrack(2);
    ASSERT_TRUE(track.Audio) << "no demo disc in " << DemoDiscFolder();
    const std::vector<std::uint8_t> pcm = DemoTrackBytes(track);
    RegisterImageDrive(DemoDiscCue());

    TCDIn cd;
    ASSERT_GT(cd.DriveCount(), 0);
    cd.SetCurrentDrive(cd.DriveCount() - 1);
    cd.SetStartTrack(track.Number);
    cd.SetEndTrack(track.Number);
    TFLACOut output;
    const std::string file = folder + "Track-0" + std::to_string(track.Number) + ".flac";
    output.SetFileName(file);
    output.SetInput(&cd);

    RunResult result = RunToEnd(output);
    ASSERT_TRUE(result.done) << result.error.value_or("no end");
    EXPECT_EQ(result.progressValues.back(), 100);
    StreamInfo info = ReadStreamInfo(ReadFileBytes(file));
    EXPECT_EQ(info.totalSamples, pcm.size() / 4);
    EXPECT_EQ(info.sampleRate, 44100u);
    std::string report;
    EXPECT_TRUE(ToolsAccept(file, pcm, &report)) << report;
}
