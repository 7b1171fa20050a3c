// End to end: a track read by the CD input from a disc image, as the program reads a CD,
// through the APE output with the main window's settings (level 2000, no size limit).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

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
// A music track of the build's demo disc, cut from the BIN by the disc's track table.
DiscTrack DemoDiscTrack(int number)
{
    DiscTrack track{KESTRIP_DEMO_DIR "/demo.cue", number, {}};
    std::ifstream table(KESTRIP_DEMO_DIR "/demo.tracks.txt");
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        int n = 0;
        std::uint64_t first = 0, sectors = 0;
        std::string kind;
        if (line.empty() || line[0] == '#' || !(fields >> n >> first >> sectors >> kind) || n != number)
            continue;
        EXPECT_EQ(kind, "audio");
        std::ifstream bin(KESTRIP_DEMO_DIR "/demo.bin", std::ios::binary);
        bin.seekg(static_cast<std::streamoff>(first * TCDIn::SectorBytes));
        track.pcm.resize(sectors * TCDIn::SectorBytes);
        bin.read(reinterpret_cast<char*>(track.pcm.data()), static_cast<std::streamsize>(track.pcm.size()));
        EXPECT_EQ(bin.gcount(), static_cast<std::streamsize>(track.pcm.size()));
    }
    return track;
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

    TCDIn cd;
    ASSERT_GT(cd.DriveCount(), 0);
    cd.SetCurrentDrive(cd.DriveCount() - 1);
    cd.SetStartTrack(track.number);
    cd.SetEndTrack(track.number);
    TMACOut output;
    output.SetCompressionLevel(2000);
    output.SetMaxAudioBytes(-1);
    const std::string file = folder + "Track-0" + std::to_string(track.number) + ".ape";
    output.SetFileName(file);
    output.SetInput(&cd);

    RunResult result = RunToEnd(output);
    ASSERT_TRUE(result.done) << result.error.value_or("no end");
    EXPECT_EQ(result.progressValues.back(), 100);
    const apetest::ApeFileInfo info = apetest::ReadApeFile(ReadFileBytes(file));
    EXPECT_EQ(info.level, 2000);
    EXPECT_EQ(std::uint64_t(info.totalFrames - 1) * info.blocksPerFrame + info.finalFrameBlocks,
              track.pcm.size() / 4);
    apetest::ExpectDecodesTo(file, track.pcm);
}
