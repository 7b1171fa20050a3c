#include "Ripper.h"

#include <algorithm>

namespace cdrip {

Ripper::Ripper(Drive& drive, uint32_t first, uint32_t end, int chunkSectors)
    : drive_(drive), first_(first), end_(end), next_(first), chunkSectors_(chunkSectors) {}

Ripper::~Ripper() { drive_.EndReading(); }

int32_t Ripper::NextChunk(uint8_t* out, bool& readError) {
  readError = false;
  int count = static_cast<int>(std::min<uint32_t>(uint32_t(chunkSectors_), end_ - next_));
  int done = 0;
  int failures = 0;
  while (done < count) {
    int got = drive_.ReadSectors(next_ + uint32_t(done), count - done,
                                 out + size_t(done) * kSectorBytes);
    got = std::clamp(got, 0, count - done);
    done += got;
    if (done == count) break;
    // Progress resets the count: only a sector that keeps failing ends the chunk.
    failures = got > 0 ? 1 : failures + 1;
    if (failures >= kAttempts) {
      readError = true;
      break;
    }
  }
  next_ += uint32_t(done);
  return static_cast<int32_t>(done) * kSectorBytes;
}

int Ripper::PercentDone() const {
  if (end_ <= first_) return 100;
  return static_cast<int>(uint64_t(next_ - first_) * 100 / (end_ - first_));
}

}  // namespace cdrip
