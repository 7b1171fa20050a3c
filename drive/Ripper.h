// One audio extraction: hands out the sectors of a range chunk by chunk, retrying reads.
#pragma once

#include "Drive.h"

#include <cstdint>

namespace cdrip {

class Ripper {
public:
  static constexpr int kAttempts = 4;  // a failing read is tried this many times in all

  Ripper(Drive& drive, uint32_t first, uint32_t end, int chunkSectors);
  ~Ripper();
  Ripper(const Ripper&) = delete;
  Ripper& operator=(const Ripper&) = delete;

  // Fills out with the next chunk; returns the bytes written. Fewer than a full chunk before
  // the end of the range means the drive could not read the sector that follows them.
  int32_t NextChunk(uint8_t* out, bool& readError);
  uint32_t NextSector() const { return next_; }
  int PercentDone() const;

private:
  Drive& drive_;
  uint32_t first_;
  uint32_t end_;
  uint32_t next_;
  int chunkSectors_;
};

}  // namespace cdrip
