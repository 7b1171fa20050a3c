#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace guikit {

// A PNG file of 8-bit RGB rows (top row first, 3 bytes a pixel), zlib "stored" blocks: no
// compression, but any viewer reads it.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
std::uint32_t Adler32(const std::uint8_t* data, std::size_t size);

} // namespace guikit
