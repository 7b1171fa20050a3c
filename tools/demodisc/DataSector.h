// CD-ROM Mode 1 sectors as stored raw (2,352 bytes): sync, header, 2,048 bytes of user data,
// EDC and the P and Q parity of the error-correction code.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace demo {

using RawSector = std::array<uint8_t, 2352>;

// lba is the logical block address; the header carries it as minutes/seconds/frames + 150.
RawSector MakeMode1Sector(uint32_t lba, const uint8_t* userData2048);

// The detection code over bytes 0..2063 (sync, header, user data).
uint32_t SectorEdc(const uint8_t* data, size_t count);

}  // namespace demo
