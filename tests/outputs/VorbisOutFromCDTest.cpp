// End to end: the demo disc's music tracks read by the CD input, as the program reads a CD,
// through the Ogg Vorbis output with the main window's settings.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "VorbisOutTestKit.h"
#include "cdrom/AudioCDROM.h"
#include "classlib/ProfileFile.h"
#include "classlib/Program.h"
#include "common/PipelineTestKit.h"
#include "outputs/AudioVorbis.h"

using namespace vorbistest;

namespace {

struct DiscTrack {
    std::string cue;
    int number = 0;
    std::vector<std::uint8_t> pcm; // the track's sectors as the BIN holds them
};

// The music tracks of the build's demo disc, cut from the BIN by the disc's track table.
std::vector<DiscTrack> MusicTracks()
{
    std::vector<DiscTrack> tracks;
    std::ifstream table(KESTRIP_DEMO_DIR "/demo.tracks.txt");
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        int number = 0;
        std::uint64_t first = 0, sectors = 0;
        std::string kind;
        if (line.empty() || line[0] == '#' || !(fields >> number >> first >> sectors >> kind) || kind != "audio")
            continue;
        DiscTrack track{KESTRIP_DEMO_DIR "/demo.cue", number, {}};
        std::ifstream bin(KESTRIP_DEMO_DIR "/demo.bin", std::ios::binary);
        bin.seekg(static_cast<std::streamoff>(first * TCDIn::SectorBytes));
        track.pcm.resize(sectors * TCDIn::SectorBytes);
        bin.read(reinterpret_cast<char*>(track.pcm.data()), static_cast<std::streamsize>(track.pcm.size()));
        EXPECT_EQ(bin.gcount(), static_cast<std::streamsize>(track.pcm.size()));
        tracks.push_back(std::move(track));
    }
    return tracks;
}

} // namespace

TEST(VorbisOutFromCD, RippedTracksAreValidFilesCloseToTheTracks)
{
    const std::string folder = testkit::TestFolder("VorbisOutFromCD");
    const std::vector<DiscTrack> tracks = MusicTracks();
    ASSERT_FALSE(tracks.empty());
    // The drive layer lists the images of cdr.ini after the machine's drives.
    const std::string ini = ProgramFolder() + "cdr.ini";
    ProfileWriteString(ini, "Images", "Image1", tracks[0].cue);
    ProfileWriteString(ini, "Images", "Image2", "");

    TCDIn cd;
    ASSERT_GT(cd.DriveCount(), 0);
    cd.SetCurrentDrive(cd.DriveCount() - 1);
    // The main window's VorbisOut1, used for one track after the other.
    TVorbisOut out;
    out.SetCompression(0.6f);
    out.SetFileMode(foRewrite);
    out.SetSerial(0);
    out.SetInput(&cd);

    for (const DiscTrack& track : tracks) {
        SCOPED_TRACE("track " + std::to_string(track.number));
        cd.SetStartTrack(track.number);
        cd.SetEndTrack(track.number);
        const std::string file = folder + "Track-0" + std::to_string(track.number) + ".ogg";
        out.SetFileName(file);
        const auto run = testkit::RunToEnd(out);
        ASSERT_TRUE(run.done) << run.error.value_or("no end");
        ASSERT_FALSE(run.progressValues.empty());
        EXPECT_EQ(run.progressValues.back(), 100);
        EXPECT_TRUE(out.EndOfStream());

        const std::int64_t frames = static_cast<std::int64_t>(track.pcm.size() / 4);
        const auto decoded = DecodeOggVorbis(file);
        ASSERT_EQ(decoded.links.size(), 1u);
        EXPECT_EQ(decoded.links[0].channels, 2);
        EXPECT_EQ(decoded.links[0].rate, 44100);
        EXPECT_LE(std::llabs(decoded.links[0].frames - frames), 2048);
        const double error = RelativeRmsError(Samples(track.pcm), decoded.pcm);
        std::cout << "track " << track.number << ": " << frames << " frames, decoded " << decoded.links[0].frames
                  << ", relative RMS error " << error << " (" << 20 * std::log10(error) << " dB)\n";
        RecordProperty("relative_rms_error_track_" + std::to_string(track.number), std::to_string(error));
        EXPECT_LT(error, 0.1);
        CheckWithTools("stream", file, {"2", "44100", std::to_string(frames)});
    }
}
