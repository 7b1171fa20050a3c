// End to end: a track read by the CD input from a disc image, as the program reads a CD,
// through the MP3 output with the main window's settings (br128, foRewrite).
#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <sstream>

#include "cdrom/AudioCDROM.h"
#include "classlib/ProfileFile.h"
#include "classlib/Program.h"
#include "common/PipelineTestKit.h"
#include "outputs/AudioLAME.h"
#include "outputs/MP3OutFrames.h"

#ifndef KESTRIP_DEMO_DIR
#include "DiscImageKit.h"
#endif

using namespace testkit;

namespace {

struct DiscTrack {
    std::string cue;
    int number = 0;
    std::vector<std::uint8_t> pcm; // the track's sectors as the BIN holds them
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
// The Windows build has no demo disc: a one-track image whose BIN holds the test signal.
DiscTrack TestSignalImageTrack(const std::string& folder)
{
    const std::uint32_t sectors = 20 * 75;
    disckit::Image image = disckit::WriteImage(folder, "disc", disckit::Consecutive({sectors}, "MP3 test"));
    DiscTrack track{image.CuePath, 1, MakeTestSignal(sectors * TCDIn::SectorBytes / 4, 2)};
    WriteFileBytes(image.BinPath, track.pcm);
    return track;
}
#endif

} // namespace

TEST(MP3OutFromCD, RippedTrackIsConstant128KbpsAndSoundsLikeTheTrack)
{
    const std::string folder = TestFolder("mp3-from-cd");
#ifdef KESTRIP_DEMO_DIR
    const DiscTrack track = DemoDiscTrack(2);
#else
    const DiscTrack track = TestSignalImageTrack(folder);
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
    TMP3Out output;
    output.SetFileMode(foRewrite);
    output.SetBitRate(TMP3BitRate::br128);
    const std::string file = folder + "Track-0" + std::to_string(track.number) + ".mp3";
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
    const std::size_t trackSamples = track.pcm.size() / 4;
    EXPECT_GE(layout.frames.size() * 1152, trackSamples + 1152 + 576);
    EXPECT_LE(layout.frames.size() * 1152, trackSamples + 1152 + 576 + 3 * 1152);

    WriteFileBytes(file + ".raw", track.pcm);
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
