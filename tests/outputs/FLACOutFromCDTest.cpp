// End to end: a demo disc track read by the CD input, as the program reads a CD, through the
// FLAC output with the main window's settings.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "FLACOutSupport.h"
#include "cdrom/AudioCDROM.h"
#include "classlib/ProfileFile.h"
#include "classlib/Program.h"
#include "common/PipelineTestKit.h"
#include "outputs/AudioFLAC.h"

using namespace testkit;
using namespace flactest;

namespace {

struct DiscTrack {
    std::string cue;
    int number = 0;
    std::vector<std::uint8_t> pcm; // the track's sectors as the BIN holds them
};

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

} // namespace

TEST(FLACOutFromCD, RippedTrackDecodesToTheTracksBytes)
{
    const std::string folder = TestFolder("FLACOut.FromCD");
    const DiscTrack track = DemoDiscTrack(2);
    ASSERT_FALSE(track.pcm.empty()) << "no demo disc in " KESTRIP_DEMO_DIR;
    // The drive layer lists the images of cdr.ini after the machine's drives.
    const std::string ini = ProgramFolder() + "cdr.ini";
    ProfileWriteString(ini, "Images", "Image1", track.cue);
    ProfileWriteString(ini, "Images", "Image2", "");

    TCDIn cd;
    ASSERT_GT(cd.DriveCount(), 0);
    cd.SetCurrentDrive(cd.DriveCount() - 1);
    cd.SetStartTrack(track.number);
    cd.SetEndTrack(track.number);
    TFLACOut output;
    const std::string file = folder + "Track-0" + std::to_string(track.number) + ".flac";
    output.SetFileName(file);
    output.SetInput(&cd);

    RunResult result = RunToEnd(output);
    ASSERT_TRUE(result.done) << result.error.value_or("no end");
    EXPECT_EQ(result.progressValues.back(), 100);
    StreamInfo info = ReadStreamInfo(ReadFileBytes(file));
    EXPECT_EQ(info.totalSamples, track.pcm.size() / 4);
    EXPECT_EQ(info.sampleRate, 44100u);
    std::string report;
    EXPECT_TRUE(ToolsAccept(file, track.pcm, &report)) << report;
}
