// End to end: a track read by the CD input from a disc image, as the program reads a CD,
// through the APE output with the main window's settings (level 2000, no size limit).
#include <gtest/gtest.h>

#include "cdrom/AudioCDROM.h"
#include "classlib/ProfileFile.h"
#include "classlib/Program.h"
#include "common/PipelineTestKit.h"
#include "mac/ApeTestSupport.h"
#include "outputs/AudioMAC.h"

#ifndef KESTRIP_DEMO_DIR
#include "DiscImageKit.h"
#endif

using namespace testkit;

namespace {

struct DiscTrack {
    std::string cue;
    int number = 0;
    std::vector<std::uint8_t> pcm;  // the track's sectors as the BIN holds them
};

#ifdef KESTRIP_DEMO_DIR
DiscTrack DemoDiscTrack(int number)
{
    return {KESTRIP_DEMO_DIR "/demo.cue", number, apetest::DemoDiscTrack(KESTRIP_DEMO_DIR, number)};
}
#else
// The Windows build has no demo disc: an image whose every byte tells where it lies.
DiscTrack PatternedImageTrack(const std::string& folder)
{
    disckit::Image image = disckit::WriteImage(folder, "disc", disckit::Consecutive({150, 400, 250}, "APE test"));
    return {image.CuePath, 2, disckit::ReadSectors(image, 150, 550)};
}
#endif

} // namespace

// Every level; the main window uses 2000.
TEST(MACOutFromCD, RippedTrackDecodesToTheTracksBytes)
{
    const std::string folder = TestFolder("MACOut.FromCD");
#ifdef KESTRIP_DEMO_DIR
    const DiscTrack track = DemoDiscTrack(2);
#else
    const DiscTrack track = PatternedImageTrack(folder);
#endif
    ASSERT_FALSE(track.pcm.empty());
    // The drive layer lists the images of cdr.ini after the machine's drives.
    const std::string ini = ProgramFolder() + "cdr.ini";
    ProfileWriteString(ini, "Images", "Image1", track.cue);
    ProfileWriteString(ini, "Images", "Image2", "");

    for (int level : {2000, 1000, 3000, 4000}) {
        TCDIn cd;
        ASSERT_GT(cd.DriveCount(), 0);
        cd.SetCurrentDrive(cd.DriveCount() - 1);
        cd.SetStartTrack(track.number);
        cd.SetEndTrack(track.number);
        TMACOut output;
        output.SetCompressionLevel(level);
        output.SetMaxAudioBytes(-1);
        const std::string file = folder + "Track-0" + std::to_string(track.number) + "-" + std::to_string(level) + ".ape";
        output.SetFileName(file);
        output.SetInput(&cd);

        RunResult result = RunToEnd(output);
        ASSERT_TRUE(result.done) << result.error.value_or("no end");
        EXPECT_EQ(result.progressValues.back(), 100);
        const apetest::ApeFileInfo info = apetest::ReadApeFile(ReadFileBytes(file));
        EXPECT_EQ(info.level, level);
        EXPECT_EQ(std::uint64_t(info.totalFrames - 1) * info.blocksPerFrame + info.finalFrameBlocks,
                  track.pcm.size() / 4);
        apetest::ExpectDecodesTo(file, track.pcm);
    }
}
