// First two prediction stages of the APE 3950+ codec: a fixed first-order filter (31/32)
// followed by an adaptive predictor from the channel's own history and, in stereo, from the
// other channel. All state restarts with every frame.
#pragma once

#include <cstdint>

namespace mac {

class ChannelPredictor {
 public:
  void Reset();

  // Residual of value v; cross is the other channel's latest first-stage value (0 in mono).
  // Afterwards LastStageOne() is this block's first-stage value. Inlined into the frame's
  // loop, with the predictor a local there, so that its state lives in registers.
  template <bool kStereo>
  [[gnu::always_inline]] int32_t Encode(int32_t v, int32_t cross);

  int32_t LastStageOne() const { return lastS_; }

 private:
  // 32 bits hold every value exactly for 16-bit input: first-stage values and their
  // differences stay within 20 bits, and a coefficient moves by at most 1 per block of a
  // frame. The predictions keep the low 32 bits of the sums of products, so they are
  // computed modulo 2^32.
  int32_t lastV_;  // v[n-1]
  int32_t lastS_;  // s[n-1]
  // Scalars rather than arrays, so that the compiler keeps each in a register.
  int32_t a0_, a1_, a2_, a3_;  // own regressors
  int32_t b0_, b1_, b2_, b3_, b4_;  // cross regressors
  int32_t signA0_, signA1_, signA2_, signA3_;  // their negative signs, shifted with them
  int32_t signB0_, signB1_, signB2_, signB3_, signB4_;
  int32_t ca0_, ca1_, ca2_, ca3_;
  int32_t cb0_, cb1_, cb2_, cb3_, cb4_;
};

// Stereo: channel Y (R - L) first, then X (L + (R - L) / 2), which sees Y's current value.
class StereoPredictor {
 public:
  void Reset() {
    y_.Reset();
    x_.Reset();
  }
  [[gnu::always_inline]] void Encode(int32_t y, int32_t x, int32_t& residualY, int32_t& residualX) {
    residualY = y_.Encode<true>(y, x_.LastStageOne());
    residualX = x_.Encode<true>(x, y_.LastStageOne());
  }

 private:
  ChannelPredictor y_;
  ChannelPredictor x_;
};

namespace detail {

// Negative sign, as the decoder adapts with it: +1 for v < 0, -1 for v > 0.
inline int32_t NegativeSign(int32_t v) { return (v < 0) - (v > 0); }

inline uint32_t Product(int32_t a, int32_t b) { return uint32_t(a) * uint32_t(b); }

}  // namespace detail

inline void ChannelPredictor::Reset() {
  lastV_ = 0;
  lastS_ = 0;
  a0_ = a1_ = a2_ = a3_ = 0;
  b0_ = b1_ = b2_ = b3_ = b4_ = 0;
  signA0_ = signA1_ = signA2_ = signA3_ = 0;
  signB0_ = signB1_ = signB2_ = signB3_ = signB4_ = 0;
  cb0_ = cb1_ = cb2_ = cb3_ = cb4_ = 0;
  ca0_ = 360;
  ca1_ = 317;
  ca2_ = -109;
  ca3_ = 98;
}

template <bool kStereo>
inline int32_t ChannelPredictor::Encode(int32_t v, int32_t cross) {
  using detail::NegativeSign;
  using detail::Product;
  // a2, a3 (and b2..b4) are the previous block's a1, a2 (b1..b3).
  a3_ = a2_;
  a2_ = a1_;
  a1_ = lastS_ - a0_;
  a0_ = lastS_;
  signA3_ = signA2_;
  signA2_ = signA1_;
  signA1_ = NegativeSign(a1_);
  signA0_ = NegativeSign(a0_);
  const uint32_t predictionA = Product(a0_, ca0_) + Product(a1_, ca1_) +
                               Product(a2_, ca2_) + Product(a3_, ca3_);

  int32_t prediction;
  if constexpr (kStereo) {
    b4_ = b3_;
    b3_ = b2_;
    b2_ = b1_;
    b1_ = cross - b0_;
    b0_ = cross;
    signB4_ = signB3_;
    signB3_ = signB2_;
    signB2_ = signB1_;
    signB1_ = NegativeSign(b1_);
    signB0_ = NegativeSign(b0_);
    const uint32_t predictionB = Product(b0_, cb0_) + Product(b1_, cb1_) +
                                 Product(b2_, cb2_) + Product(b3_, cb3_) +
                                 Product(b4_, cb4_);
    prediction = int32_t(predictionA + uint32_t(int32_t(predictionB) >> 1)) >> 10;
  } else {
    prediction = int32_t(predictionA) >> 10;
  }

  const int32_t s = v - ((31 * lastV_) >> 5);
  lastV_ = v;
  lastS_ = s;
  const int32_t residual = int32_t(uint32_t(s) - uint32_t(prediction));

  const int32_t g = NegativeSign(residual);
  ca0_ += signA0_ * g;
  ca1_ += signA1_ * g;
  ca2_ += signA2_ * g;
  ca3_ += signA3_ * g;
  if constexpr (kStereo) {
    cb0_ += signB0_ * g;
    cb1_ += signB1_ * g;
    cb2_ += signB2_ * g;
    cb3_ += signB3_ * g;
    cb4_ += signB4_ * g;
  }
  return residual;
}

}  // namespace mac
