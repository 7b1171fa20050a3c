// The two checksums of an APE file: CRC-32 per frame (over its PCM) and the MD5 of the file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace mac {

// Standard CRC-32 (reflected polynomial 0xEDB88320, as in zlib and PNG): with carry-less
// multiplication where the CPU has it, else (and in the reference) from tables.
uint32_t Crc32(const uint8_t* data, size_t size);
uint32_t Crc32Reference(const uint8_t* data, size_t size);

class Md5 {
 public:
  Md5();
  void Update(const void* data, size_t size);
  // Ends the computation; the object must not be updated afterwards.
  std::array<uint8_t, 16> Final();

 private:
  void Transform(const uint8_t* block);

  std::array<uint32_t, 4> state_;
  uint64_t length_ = 0;  // bytes hashed so far
  std::array<uint8_t, 64> pending_{};
};

}  // namespace mac
