#pragma once
// The build's demo disc (made by kestrip-demodisc) for end-to-end tests, and registering a
// disc image as a drive the way the program finds it: in cdr.ini beside the program.
#include <cstdint>
#include <string>
#include <vector>

namespace testkit {

struct TDemoTrack {
    int Number = 0;
    std::uint32_t FirstSector = 0;
    std::uint32_t Sectors = 0;
    bool Audio = false;
    std::string Title;
};

// The disc's folder as this program sees it, ending with a separator.
std::string DemoDiscFolder();
std::string DemoDiscCue();
// Every track of the disc's track table, in order; empty when there is no disc.
std::vector<TDemoTrack> DemoDiscTracks();
std::vector<TDemoTrack> DemoMusicTracks();
TDemoTrack DemoTrack(int number);
// The track's sectors as the BIN holds them.
std::vector<std::uint8_t> DemoTrackBytes(const TDemoTrack& track);

// Makes the image the only image drive of the drive layer the next TCDIn loads: it is then
// the last drive.
void RegisterImageDrive(const std::string& cueFile);

} // namespace testkit
