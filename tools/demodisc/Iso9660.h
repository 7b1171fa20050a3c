// A minimal ISO 9660 volume: the root directory holding a few small files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

struct IsoFile {
  std::string Name;     // d-characters, "NAME.EXT"
  std::string Content;
};

// Blocks of 2,048 bytes. firstBlock is the address of the volume's block 0 on the disc (the
// start of the data track), since the directory records hold disc addresses. The volume is
// padded to totalBlocks.
std::vector<std::vector<uint8_t>> BuildIsoVolume(const std::string& volumeId, const std::vector<IsoFile>& files,
                                                 uint32_t firstBlock, uint32_t totalBlocks);

}  // namespace demo
