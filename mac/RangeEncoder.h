// Range encoder mirroring the APE 3.98+ range decoder: 32-bit code, bytes taken from bits
// 30..23 of low, carries propagated into the bytes already written.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace mac {

class RangeEncoder {
 public:
  // Writes the coded bytes from out[start] on, growing out as needed (out only ever grows,
  // so a buffer kept from frame to frame stops allocating). The first byte, which the
  // decoder skips, is the one a carry out of the first code byte would land in. The three
  // bytes before out[start] are scratch: write them after Finish.
  //
  // Everything is inline: a coder that is a local of the coding loop lives in registers
  // (an out-of-line call would take its address and force it into memory, where every byte
  // written could alias it).
  RangeEncoder(std::vector<uint8_t>& out, size_t start) : out_(out) {
    if (out_.size() < start + kMaxBytesPerValue) out_.resize(start + kMaxBytesPerValue);
    next_ = out_.data() + start - (kPendingBytes - 1);
    end_ = out_.data() + out_.size();
  }

  // Room for the bytes of one residual's symbols.
  static constexpr size_t kMaxBytesPerValue = 32;
  void Reserve() {
    if (size_t(end_ - next_) < kMaxBytesPerValue) Grow();
  }

  // total must not exceed 2^16; the symbol occupies [cumulative, cumulative + frequency).
  void EncodeFrequency(uint32_t total, uint32_t cumulative, uint32_t frequency) {
    Normalise();
    const uint32_t q = range_ / total;
    Add(q * cumulative);
    range_ = q * frequency;
  }
  void EncodeShift(int bits, uint32_t cumulative, uint32_t frequency) {
    Normalise();
    const uint32_t q = range_ >> bits;
    Add(q * cumulative);
    range_ = q * frequency;
  }
  void EncodeRaw(uint32_t value, int bits) { EncodeShift(bits, value, 1); }

  // Writes the held bytes and the four bytes of low the decoder reads last; returns the
  // end offset in out.
  size_t Finish() {
    Reserve();
    StoreBigEndian(next_, uint32_t(low_ >> kLowBits));
    StoreBigEndian(next_ + kPendingBytes, uint32_t(low_) << 1);
    next_ += 2 * kPendingBytes;
    return size_t(next_ - out_.data());
  }

 private:
  // low_ holds the coder's 31-bit low and, above it, the last kPendingBytes code bytes,
  // which are not final until no carry can reach them: carries run into them by plain
  // addition. They start as the skipped byte behind three scratch bytes.
  static constexpr int kLowBits = 31;
  static constexpr size_t kPendingBytes = 4;
  static constexpr uint64_t kOverflow = uint64_t(1) << 63;
  static constexpr uint32_t kTop = 1u << 31;

  void Add(uint32_t v) {
    low_ += v;
    if (low_ >= kOverflow) CarryIntoWritten();
  }
  // Shifts out whole bytes until range exceeds 2^23 (range is at least 128 here, so at
  // most three). The held bytes are stored unconditionally; the write position advances
  // past the ones that leave the register.
  void Normalise() {
    const int bytes = (std::countl_zero(range_ - 1) - 1) >> 3;
    StoreBigEndian(next_, uint32_t(low_ >> kLowBits));
    next_ += bytes;
    low_ = (low_ << (8 * bytes)) & (kOverflow - 1);
    range_ <<= 8 * bytes;
  }
  static void StoreBigEndian(uint8_t* p, uint32_t v) {
    if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap32(v);
    std::memcpy(p, &v, 4);
  }
  // All held bytes were 0xFF (rare). The code stays below the interval it started with, so
  // the carry stops at the skipped first byte (which starts at 0) at the latest.
  void CarryIntoWritten() {
    uint8_t* p = next_ - 1;
    while (*p == 0xFF) *p-- = 0;
    ++*p;
    low_ -= kOverflow;
  }
  void Grow() {
    const size_t used = size_t(next_ - out_.data());
    out_.resize(std::max(2 * out_.size(), used + kMaxBytesPerValue));
    next_ = out_.data() + used;
    end_ = out_.data() + out_.size();
  }

  std::vector<uint8_t>& out_;
  uint8_t* next_;  // where the oldest held byte goes
  uint8_t* end_;   // of the room in out_
  uint64_t low_ = 0;
  uint32_t range_ = kTop;
};

// Adaptive coder of one channel's residuals, new for every frame (the 3990 scheme: a fixed-table "overflow"
// symbol plus a uniform base below a pivot that follows the running magnitude).
class ResidualCoder {
 public:
  [[gnu::always_inline]] void Encode(RangeEncoder& coder, int32_t value);

 private:
  [[gnu::always_inline]] static void EncodeLarge(RangeEncoder& coder, uint32_t overflow, uint32_t base, uint32_t pivot);

  uint32_t ksum_ = 16384;
};

namespace detail {

// Cumulative frequencies of overflow symbols 0..20 (total 65536); 21..62 have width 1 at
// 65472 + symbol, and 63 (at 65535) escapes to a raw 32-bit overflow.
inline constexpr uint32_t kEscape = 63;
inline constexpr uint32_t kCumulative[22] = {0,     19578, 36160, 48417, 56323, 60899, 63265, 64435,
                                             64971, 65232, 65351, 65416, 65447, 65466, 65476, 65482,
                                             65485, 65488, 65490, 65491, 65492, 65493};

}  // namespace detail

inline void ResidualCoder::Encode(RangeEncoder& coder, int32_t value) {
  const uint32_t x = value > 0 ? 2 * uint32_t(value) - 1 : 2 * (0u - uint32_t(value));
  const uint32_t pivot = ksum_ >> 5 ? ksum_ >> 5 : 1;
  const uint32_t overflow = x / pivot;
  const uint32_t base = x - overflow * pivot;
  ksum_ += (x + 1) / 2 - ((ksum_ + 16) >> 5);

  coder.Reserve();
  if (overflow <= 20 && pivot < 65536) {
    using detail::kCumulative;
    coder.EncodeShift(16, kCumulative[overflow], kCumulative[overflow + 1] - kCumulative[overflow]);
    coder.EncodeFrequency(pivot, base, 1);
  } else {
    EncodeLarge(coder, overflow, base, pivot);
  }
}

// The rare cases: an overflow beyond the table, or a pivot wider than 16 bits.
inline void ResidualCoder::EncodeLarge(RangeEncoder& coder, uint32_t overflow, uint32_t base,
                                       uint32_t pivot) {
  using detail::kCumulative;
  if (overflow <= 20) {
    coder.EncodeShift(16, kCumulative[overflow], kCumulative[overflow + 1] - kCumulative[overflow]);
  } else if (overflow < detail::kEscape) {
    coder.EncodeShift(16, 65472 + overflow, 1);
  } else {
    coder.EncodeShift(16, 65535, 1);
    coder.EncodeRaw(overflow >> 16, 16);
    coder.EncodeRaw(overflow & 0xFFFF, 16);
  }

  if (pivot < 65536) {
    coder.EncodeFrequency(pivot, base, 1);
  } else {
    int shift = 0;
    while ((pivot >> shift) > 0xFFFF) ++shift;
    coder.EncodeFrequency((pivot >> shift) + 1, base >> shift, 1);
    coder.EncodeFrequency(1u << shift, base & ((1u << shift) - 1), 1);
  }
}

}  // namespace mac
