// kestrip-demodisc OUTDIR: writes demo.cue, demo.bin and demo.tracks.txt, a short audio CD
// image of five synthesised pieces and a data track, the same bytes on every run.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "DataSector.h"
#include "Iso9660.h"
#include "Songs.h"

namespace {

constexpr uint32_t kSectorBytes = 2352;
constexpr uint32_t kDataTrackSectors = 300;  // the shortest track a disc may have: 4 seconds

struct TrackEntry {
  int Number;
  uint32_t First;
  uint32_t Sectors;
  bool Audio;
  std::string Title;
};

std::string Msf(uint32_t sector) {
  char text[16];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u", sector / 4500, sector / 75 % 60, sector % 75);
  return text;
}

const char* kReadme =
    "Kestrip demo disc\r\n"
    "=================\r\n\r\n"
    "Five short pieces made by the Kestrip demo disc maker, so that the ripper has\r\n"
    "something to read on a machine without a CD drive:\r\n\r\n"
    "  1  Morning Light     piano\r\n"
    "  2  Fireside Waltz    guitar, flute and music box\r\n"
    "  3  Night Drive       synthesisers and drums\r\n"
    "  4  Rainy Window      electric piano, bass and brushes\r\n"
    "  5  Evening Chorale   organ\r\n\r\n"
    "This data track is here so that the ripper shows a data track too.\r\n";

void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kestrip-demodisc OUTDIR\n");
    return 2;
  }
  try {
    const std::filesystem::path dir(argv[1]);
    std::filesystem::create_directories(dir);
    std::vector<demo::Song (*)()> pieces = {demo::MorningLight, demo::FiresideWaltz, demo::NightDrive,
                                            demo::RainyWindow, demo::EveningChorale};
    std::vector<TrackEntry> tracks;
    std::ofstream bin(dir / "demo.bin.part", std::ios::binary | std::ios::trunc);
    uint32_t sector = 0;
    for (auto piece : pieces) {
      demo::Song song = piece();
      std::vector<uint8_t> bytes(song.Pcm.size() * 2);
      for (size_t i = 0; i < song.Pcm.size(); ++i) {
        uint16_t v = static_cast<uint16_t>(song.Pcm[i]);
        bytes[2 * i] = static_cast<uint8_t>(v);
        bytes[2 * i + 1] = static_cast<uint8_t>(v >> 8);
      }
      uint32_t sectors = static_cast<uint32_t>(bytes.size() / kSectorBytes);
      bin.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(sectors) * kSectorBytes);
      tracks.push_back({static_cast<int>(tracks.size()) + 1, sector, sectors, true, song.Title});
      std::printf("track %zu: %-16s %u sectors (%.1f s)\n", tracks.size(), song.Title.c_str(), sectors,
                  sectors / 75.0);
      sector += sectors;
    }
    auto volume = demo::BuildIsoVolume("KESTRIP_DEMO", {{"README.TXT", kReadme}}, sector, kDataTrackSectors);
    for (uint32_t i = 0; i < kDataTrackSectors; ++i) {
      demo::RawSector raw = demo::MakeMode1Sector(sector + i, volume[i].data());
      bin.write(reinterpret_cast<const char*>(raw.data()), raw.size());
    }
    tracks.push_back({static_cast<int>(tracks.size()) + 1, sector, kDataTrackSectors, false, "Data"});
    bin.close();
    if (!bin) throw std::runtime_error("cannot write demo.bin");
    std::filesystem::rename(dir / "demo.bin.part", dir / "demo.bin");

    std::string cue = "REM Kestrip demo disc\r\nPERFORMER \"Kestrip\"\r\nTITLE \"Kestrip Demo Disc\"\r\n"
                      "FILE \"demo.bin\" BINARY\r\n";
    std::string table = "# number first_sector sectors kind title\n";
    for (const TrackEntry& t : tracks) {
      char head[64];
      std::snprintf(head, sizeof head, "  TRACK %02d %s\r\n", t.Number, t.Audio ? "AUDIO" : "MODE1/2352");
      cue += head;
      cue += "    TITLE \"" + t.Title + "\"\r\n";
      cue += "    INDEX 01 " + Msf(t.First) + "\r\n";
      table += std::to_string(t.Number) + " " + std::to_string(t.First) + " " + std::to_string(t.Sectors) +
               (t.Audio ? " audio " : " data ") + t.Title + "\n";
    }
    WriteFile(dir / "demo.cue", cue);
    WriteFile(dir / "demo.tracks.txt", table);
    std::printf("demo disc in %s\n", dir.string().c_str());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kestrip-demodisc: %s\n", e.what());
    return 1;
  }
}
