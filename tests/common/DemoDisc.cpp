#include "DemoDisc.h"

#include <sstream>

#include "PipelineTestKit.h"
#include "classlib/FileStream.h"
#include "classlib/ProfileFile.h"
#include "classlib/Program.h"

namespace testkit {

namespace {
constexpr std::int64_t kSectorBytes = 2352;
}

std::string DemoDiscFolder()
{
#ifdef _WIN32
    return std::string("Z:") + KESTRIP_DEMO_DIR + "/"; // Wine shows the Linux root as drive Z:
#else
    return std::string(KESTRIP_DEMO_DIR) + "/";
#endif
}

std::string DemoDiscCue() { return DemoDiscFolder() + "demo.cue"; }

std::vector<TDemoTrack> DemoDiscTracks()
{
    std::vector<TDemoTrack> tracks;
    if (!FileExists(DemoDiscFolder() + "demo.tracks.txt"))
        return tracks;
    const std::vector<std::uint8_t> bytes = ReadFileBytes(DemoDiscFolder() + "demo.tracks.txt");
    std::istringstream table(std::string(bytes.begin(), bytes.end()));
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        TDemoTrack track;
        std::string kind;
        if (line.empty() || line[0] == '#' || !(fields >> track.Number >> track.FirstSector >> track.Sectors >> kind))
            continue;
        track.Audio = kind == "audio";
        std::getline(fields >> std::ws, track.Title);
        tracks.push_back(track);
    }
    return tracks;
}

std::vector<TDemoTrack> DemoMusicTracks()
{
    std::vector<TDemoTrack> music;
    for (const TDemoTrack& track : DemoDiscTracks())
        if (track.Audio)
            music.push_back(track);
    return music;
}

TDemoTrack DemoTrack(int number)
{
    for (const TDemoTrack& track : DemoDiscTracks())
        if (track.Number == number)
            return track;
    return {};
}

std::vector<std::uint8_t> DemoTrackBytes(const TDemoTrack& track)
{
    TFileStream bin(DemoDiscFolder() + "demo.bin", fmOpenRead);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(track.Sectors * kSectorBytes));
    bin.Seek(track.FirstSector * kSectorBytes, TSeekOrigin::soBeginning);
    bin.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return bytes;
}

void RegisterImageDrive(const std::string& cueFile)
{
    const std::string ini = ProgramFolder() + "cdr.ini";
    ProfileWriteString(ini, "Images", "Image1", cueFile);
    ProfileWriteString(ini, "Images", "Image2", "");
}

} // namespace testkit
