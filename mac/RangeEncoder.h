// Range encoder mirroring the APE 3.98+ range decoder: 32-bit code, bytes taken from bits
// 30..23 of low, a held-back byte plus a run of 0xFF bytes for carry propagation.
#pragma once

#include <cstdint>
#include <vector>

namespace mac {

class RangeEncoder {
 public:
  // Appends its bytes to out. The first byte (the decoder skips it) is the carry byte.
  explicit RangeEncoder(std::vector<uint8_t>& out) : out_(out) {}

  // total must not exceed 2^16; the symbol occupies [cumulative, cumulative + frequency).
  void EncodeFrequency(uint32_t total, uint32_t cumulative, uint32_t frequency) {
    Normalise();
    const uint32_t q = range_ / total;
    low_ += q * cumulative;
    range_ = q * frequency;
  }
  void EncodeShift(int bits, uint32_t cumulative, uint32_t frequency) {
    Normalise();
    const uint32_t q = range_ >> bits;
    low_ += q * cumulative;
    range_ = q * frequency;
  }
  void EncodeRaw(uint32_t value, int bits) { EncodeShift(bits, value, 1); }

  // Writes out everything the decoder will read: the held-back bytes and four bytes of low.
  void Finish();

 private:
  static constexpr uint32_t kTop = 1u << 31;
  static constexpr uint32_t kBottom = 1u << 23;

  void Normalise() {
    while (range_ <= kBottom) ShiftByte();
  }
  void ShiftByte();

  std::vector<uint8_t>& out_;
  uint32_t low_ = 0;
  uint32_t range_ = kTop;
  uint8_t cache_ = 0;
  uint32_t pending_ = 0;  // 0xFF bytes held back behind cache_
};

// Adaptive coder of one channel's residuals (the 3990 scheme: a fixed-table "overflow"
// symbol plus a uniform base below a pivot that follows the running magnitude).
class ResidualCoder {
 public:
  void Reset() { ksum_ = 16384; }
  void Encode(RangeEncoder& coder, int32_t value);

 private:
  uint32_t ksum_ = 16384;
};

}  // namespace mac
