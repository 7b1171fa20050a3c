#include "RangeEncoder.h"

namespace mac {

namespace {

// Cumulative frequencies of overflow symbols 0..20 (total 65536); 21..62 have width 1 at
// 65472 + symbol, and 63 (at 65535) escapes to a raw 32-bit overflow.
constexpr uint32_t kCumulative[22] = {0,     19578, 36160, 48417, 56323, 60899, 63265, 64435,
                                      64971, 65232, 65351, 65416, 65447, 65466, 65476, 65482,
                                      65485, 65488, 65490, 65491, 65492, 65493};
constexpr uint32_t kEscape = 63;

}  // namespace

void RangeEncoder::ShiftByte() {
  if (low_ < (0xFFu << 23)) {
    out_.push_back(cache_);
    if (pending_ > 0) {
      out_.insert(out_.end(), pending_, 0xFF);
      pending_ = 0;
    }
    cache_ = uint8_t(low_ >> 23);
  } else if (low_ >= kTop) {
    out_.push_back(uint8_t(cache_ + 1));
    out_.insert(out_.end(), pending_, 0x00);
    pending_ = 0;
    cache_ = uint8_t(low_ >> 23);
  } else {
    ++pending_;
  }
  range_ <<= 8;
  low_ = (low_ << 8) & (kTop - 1);
}

void RangeEncoder::Finish() {
  if (low_ >= kTop) {
    out_.push_back(uint8_t(cache_ + 1));
    out_.insert(out_.end(), pending_, 0x00);
  } else {
    out_.push_back(cache_);
    out_.insert(out_.end(), pending_, 0xFF);
  }
  pending_ = 0;
  const uint32_t low = low_ & (kTop - 1);
  out_.push_back(uint8_t(low >> 23));
  out_.push_back(uint8_t(low >> 15));
  out_.push_back(uint8_t(low >> 7));
  out_.push_back(uint8_t(low << 1));
}

void ResidualCoder::Encode(RangeEncoder& coder, int32_t value) {
  const uint32_t x = value > 0 ? 2 * uint32_t(value) - 1 : 2 * (0u - uint32_t(value));
  const uint32_t pivot = ksum_ >> 5 ? ksum_ >> 5 : 1;
  const uint32_t overflow = x / pivot;
  const uint32_t base = x - overflow * pivot;

  if (overflow <= 20) {
    coder.EncodeShift(16, kCumulative[overflow], kCumulative[overflow + 1] - kCumulative[overflow]);
  } else if (overflow < kEscape) {
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

  ksum_ += (x + 1) / 2 - ((ksum_ + 16) >> 5);
}

}  // namespace mac
