// One CD drive as the library sees it: a real drive or a disc image.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cdrip {

constexpr int kSectorBytes = 2352;

struct TocTrack {
  uint32_t StartSector = 0;
  uint8_t Flag = 0;
  uint8_t TrackNumber = 0;
};

// Tracks in disc order followed by the lead-out (TrackNumber 0xAA).
struct Toc {
  std::vector<TocTrack> Entries;
  int TrackCount() const { return Entries.empty() ? 0 : static_cast<int>(Entries.size()) - 1; }
};

class Drive {
public:
  virtual ~Drive() = default;
  virtual std::string Name() const = 0;
  virtual bool MediaLoaded() = 0;
  virtual bool AudioPlaying() = 0;
  // Empty when there is no medium or its table of contents cannot be read.
  virtual std::optional<Toc> ReadToc() = 0;
  // Reads up to count raw sectors from lba into out (count * 2352 bytes); returns how many
  // leading sectors were read. Fewer than count means a read error at lba + result.
  virtual int ReadSectors(uint32_t lba, int count, uint8_t* out) = 0;
  // Called when a rip ends, so a drive can let go of what it held open for it.
  virtual void EndReading() {}
  virtual bool Eject(bool open) = 0;
};

}  // namespace cdrip
