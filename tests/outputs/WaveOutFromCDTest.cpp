// End to end: the tracks of the demo disc read by the CD input, as the program reads a CD,
// through the WAV output with the main window's settings (wtPCM, BlockSize 512, foRewrite).
#include <gtest/gtest.h>

#include "WaveOutFileReader.h"
#include "WaveOutSupport.h"
#include "cdrom/AudioCDROM.h"
#include "common/DemoDisc.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(WaveOutFromCD, EveryMusicTrackIsTheHeaderAndTheBinsBytes)
{
    const std::vector<testkit::TDemoTrack> tracks = testkit::DemoMusicTracks();
    ASSERT_GE(tracks.size(), 1u) << "no track table in " << testkit::DemoDiscFolder();
    testkit::RegisterImageDrive(testkit::DemoDiscCue());

    const std::string folder = testkit::TestFolder("wave-from-cd");
    TCDIn cd;
    ASSERT_GT(cd.DriveCount(), 0);
    cd.SetCurrentDrive(cd.DriveCount() - 1);
    TWaveOut output; // the main window's WaveOut1
    output.SetWavType(wtPCM);
    output.SetBlockSize(512);
    output.SetFileMode(foRewrite);
    output.SetInput(&cd);

    for (const testkit::TDemoTrack& track : tracks) {
        SCOPED_TRACE("track " + std::to_string(track.Number));
        cd.SetStartTrack(track.Number);
        cd.SetEndTrack(track.Number);
        const std::string file = folder + "Track-0" + std::to_string(track.Number) + ".wav";
        output.SetFileName(file);
        const testkit::RunResult result = testkit::RunToEnd(output);
        ASSERT_TRUE(result.done) << result.error.value_or("no end");
        EXPECT_EQ(result.progressValues.back(), 100);

        const Bytes pcm = testkit::DemoTrackBytes(track);
        const Bytes bytes = testkit::ReadFileBytes(file);
        ASSERT_EQ(bytes.size(), 44 + pcm.size());
        const auto f = wavetest::ReadWavFields(bytes);
        EXPECT_EQ(f.RiffSize, pcm.size() + 36);
        EXPECT_EQ(f.DataSize, pcm.size());
        EXPECT_EQ(f.FormatTag, 1);
        EXPECT_EQ(f.Channels, 2);
        EXPECT_EQ(f.SampleRate, 44100u);
        EXPECT_EQ(f.BitsPerSample, 16);
        EXPECT_TRUE(std::equal(pcm.begin(), pcm.end(), bytes.begin() + 44)) << "audio differs from the BIN";

        std::string report;
        EXPECT_TRUE(wavetest::FfmpegDecodesTo(file, pcm, "pcm_s16le", 2, 44100, &report)) << report;
    }
}

} // namespace
