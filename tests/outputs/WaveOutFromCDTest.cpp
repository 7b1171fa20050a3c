// End to end: the tracks of the demo disc read by the CD input, as the program reads a CD,
// through the WAV output with the main window's settings (wtPCM, BlockSize 512, foRewrite).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "WaveOutFileReader.h"
#include "WaveOutSupport.h"
#include "cdrom/AudioCDROM.h"
#include "classlib/ProfileFile.h"
#include "classlib/Program.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The demo disc's folder as this program sees it (Wine shows the Linux root as drive Z:).
std::string DemoFolder()
{
#ifdef _WIN32
    return std::string("Z:") + KESTRIP_DEMO_DIR + "/";
#else
    return std::string(KESTRIP_DEMO_DIR) + "/";
#endif
}

struct TDiscTrack {
    int Number = 0;
    std::uint64_t FirstSector = 0;
    std::uint64_t Sectors = 0;
};

// The music tracks of the disc's track table ("number first_sector sectors kind title").
std::vector<TDiscTrack> MusicTracks()
{
    std::vector<TDiscTrack> tracks;
    std::ifstream table(DemoFolder() + "demo.tracks.txt");
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        TDiscTrack track;
        std::string kind;
        if (!line.empty() && line[0] != '#' && fields >> track.Number >> track.FirstSector >> track.Sectors >> kind &&
            kind == "audio")
            tracks.push_back(track);
    }
    return tracks;
}

Bytes BinBytes(const TDiscTrack& track)
{
    std::ifstream bin(DemoFolder() + "demo.bin", std::ios::binary);
    bin.seekg(static_cast<std::streamoff>(track.FirstSector * TCDIn::SectorBytes));
    Bytes bytes(track.Sectors * TCDIn::SectorBytes);
    bin.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    EXPECT_EQ(bin.gcount(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

TEST(WaveOutFromCD, EveryMusicTrackIsTheHeaderAndTheBinsBytes)
{
    const std::vector<TDiscTrack> tracks = MusicTracks();
    ASSERT_GE(tracks.size(), 1u) << "no track table in " << DemoFolder();
    // The drive layer lists the images of cdr.ini after the machine's drives.
    const std::string ini = ProgramFolder() + "cdr.ini";
    ProfileWriteString(ini, "Images", "Image1", DemoFolder() + "demo.cue");
    ProfileWriteString(ini, "Images", "Image2", "");

    const std::string folder = testkit::TestFolder("wave-from-cd");
    TCDIn cd;
    ASSERT_GT(cd.DriveCount(), 0);
    cd.SetCurrentDrive(cd.DriveCount() - 1);
    TWaveOut output; // the main window's WaveOut1
    output.SetWavType(wtPCM);
    output.SetBlockSize(512);
    output.SetFileMode(foRewrite);
    output.SetInput(&cd);

    for (const TDiscTrack& track : tracks) {
        SCOPED_TRACE("track " + std::to_string(track.Number));
        cd.SetStartTrack(track.Number);
        cd.SetEndTrack(track.Number);
        const std::string file = folder + "Track-0" + std::to_string(track.Number) + ".wav";
        output.SetFileName(file);
        const testkit::RunResult result = testkit::RunToEnd(output);
        ASSERT_TRUE(result.done) << result.error.value_or("no end");
        EXPECT_EQ(result.progressValues.back(), 100);

        const Bytes pcm = BinBytes(track);
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
