// End to end: the demo disc's music tracks read by the CD input, as the program reads a CD,
// through the Ogg Vorbis output with the main window's settings.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <iostream>

#include "VorbisOutTestKit.h"
#include "cdrom/AudioCDROM.h"
#include "common/DemoDisc.h"
#include "common/PipelineTestKit.h"
#include "outputs/AudioVorbis.h"

using namespace vorbistest;

TEST(VorbisOutFromCD, RippedTracksAreValidFilesCloseToTheTracks)
{
    const std::string folder = testkit::TestFolder("VorbisOutFromCD");
    const std::vector<testkit::TDemoTrack> tracks = testkit::DemoMusicTracks();
    ASSERT_FALSE(tracks.empty()) << "no demo disc in " << testkit::DemoDiscFolder();
    testkit::RegisterImageDrive(testkit::DemoDiscCue());

    TCDIn cd;
    ASSERT_GT(cd.DriveCount(), 0);
    cd.SetCurrentDrive(cd.DriveCount() - 1);
    // The main window's VorbisOut1, used for one track after the other.
    TVorbisOut out;
    out.SetCompression(0.6f);
    out.SetFileMode(foRewrite);
    out.SetSerial(0);
    out.SetInput(&cd);

    for (const testkit::TDemoTrack& track : tracks) {
        const std::vector<std::uint8_t> pcm = testkit::DemoTrackBytes(track);
        SCOPED_TRACE("track " + std::to_string(track.Number));
        cd.SetStartTrack(track.Number);
        cd.SetEndTrack(track.Number);
        const std::string file = folder + "Track-0" + std::to_string(track.Number) + ".ogg";
        out.SetFileName(file);
        const auto run = testkit::RunToEnd(out);
        ASSERT_TRUE(run.done) << run.error.value_or("no end");
        ASSERT_FALSE(run.progressValues.empty());
        EXPECT_EQ(run.progressValues.back(), 100);
        EXPECT_TRUE(out.EndOfStream());

        const std::int64_t frames = static_cast<std::int64_t>(pcm.size() / 4);
        const auto decoded = DecodeOggVorbis(file);
        ASSERT_EQ(decoded.links.size(), 1u);
        EXPECT_EQ(decoded.links[0].channels, 2);
        EXPECT_EQ(decoded.links[0].rate, 44100);
        EXPECT_LE(std::llabs(decoded.links[0].frames - frames), 2048);
        const double error = RelativeRmsError(Samples(pcm), decoded.pcm);
        std::cout << "track " << track.Number << ": " << frames << " frames, decoded " << decoded.links[0].frames
                  << ", relative RMS error " << error << " (" << 20 * std::log10(error) << " dB)\n";
        RecordProperty("relative_rms_error_track_" + std::to_string(track.Number), std::to_string(error));
        EXPECT_LT(error, 0.1);
        CheckWithTools("stream", file, {"2", "44100", std::to_string(frames)});
    }
}
