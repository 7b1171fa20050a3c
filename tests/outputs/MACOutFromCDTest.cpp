// End to end: a demo disc track read by the CD input, as the program reads a CD,
// through the APE output with the main window's settings (level 2000, no size limit).
#include <gtest/gtest.h>

#include "cdrom/AudioCDROM.h"
#include "common/DemoDisc.h"
#include "common/PipelineTestKit.h"
#include "mac/ApeTestSupport.h"
#include "outputs/AudioMAC.h"

using namespace testkit;

// Every level; the main window uses 2000.
TEST(MACOutFromCD, RippedTrackDecodesToTheTracksBytes)
{
    const std::string folder = TestFolder("MACOut.FromCD");
    const TDemoTrack track = DemoTrack(2);
    ASSERT_TRUE(track.Audio) << "no demo disc in " << DemoDiscFolder();
    const std::vector<std::uint8_t> pcm = DemoTrackBytes(track);
    RegisterImageDrive(DemoDiscCue());

    for (int level : {2000, 1000, 3000, 4000}) {
        TCDIn cd;
        ASSERT_GT(cd.DriveCount(), 0);
        cd.SetCurrentDrive(cd.DriveCount() - 1);
        cd.SetStartTrack(track.Number);
        cd.SetEndTrack(track.Number);
        TMACOut output;
        output.SetCompressionLevel(level);
        output.SetMaxAudioBytes(-1);
        const std::string file = folder + "Track-0" + std::to_string(track.Number) + "-" + std::to_string(level) + ".ape";
        output.SetFileName(file);
        output.SetInput(&cd);

        RunResult result = RunToEnd(output);
        ASSERT_TRUE(result.done) << result.error.value_or("no end");
        EXPECT_EQ(result.progressValues.back(), 100);
        const apetest::ApeFileInfo info = apetest::ReadApeFile(ReadFileBytes(file));
        EXPECT_EQ(info.level, level);
        EXPECT_EQ(std::uint64_t(info.totalFrames - 1) * info.blocksPerFrame + info.finalFrameBlocks,
                  pcm.size() / 4);
        apetest::ExpectDecodesTo(file, pcm);
    }
}
