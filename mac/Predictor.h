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
  int32_t a_[4];   // own regressors
  int32_t b_[5];   // cross regressors
  int32_t signA_[4];  // their negative signs, shifted along with them
  int32_t signB_[5];
  int32_t ca_[4];
  int32_t cb_[5];
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
  for (int k = 0; k < 4; ++k) a_[k] = signA_[k] = 0;
  for (int k = 0; k < 5; ++k) b_[k] = signB_[k] = cb_[k] = 0;
  ca_[0] = 360;
  ca_[1] = 317;
  ca_[2] = -109;
  ca_[3] = 98;
}

template <bool kStereo>
inline int32_t ChannelPredictor::Encode(int32_t v, int32_t cross) {
  using detail::NegativeSign;
  using detail::Product;
  // a2, a3 (and b2..b4) are the previous block's a1, a2 (b1..b3). Written out rather than
  // looped so that every index is a constant.
  a_[3] = a_[2];
  a_[2] = a_[1];
  a_[1] = lastS_ - a_[0];
  a_[0] = lastS_;
  signA_[3] = signA_[2];
  signA_[2] = signA_[1];
  signA_[1] = NegativeSign(a_[1]);
  signA_[0] = NegativeSign(a_[0]);
  const uint32_t predictionA = Product(a_[0], ca_[0]) + Product(a_[1], ca_[1]) +
                               Product(a_[2], ca_[2]) + Product(a_[3], ca_[3]);

  int32_t prediction;
  if constexpr (kStereo) {
    b_[4] = b_[3];
    b_[3] = b_[2];
    b_[2] = b_[1];
    b_[1] = cross - b_[0];
    b_[0] = cross;
    signB_[4] = signB_[3];
    signB_[3] = signB_[2];
    signB_[2] = signB_[1];
    signB_[1] = NegativeSign(b_[1]);
    signB_[0] = NegativeSign(b_[0]);
    const uint32_t predictionB = Product(b_[0], cb_[0]) + Product(b_[1], cb_[1]) +
                                 Product(b_[2], cb_[2]) + Product(b_[3], cb_[3]) +
                                 Product(b_[4], cb_[4]);
    prediction = int32_t(predictionA + uint32_t(int32_t(predictionB) >> 1)) >> 10;
  } else {
    prediction = int32_t(predictionA) >> 10;
  }

  const int32_t s = v - ((31 * lastV_) >> 5);
  lastV_ = v;
  lastS_ = s;
  const int32_t residual = int32_t(uint32_t(s) - uint32_t(prediction));

  const int32_t g = NegativeSign(residual);
  ca_[0] += signA_[0] * g;
  ca_[1] += signA_[1] * g;
  ca_[2] += signA_[2] * g;
  ca_[3] += signA_[3] * g;
  if constexpr (kStereo) {
    cb_[0] += signB_[0] * g;
    cb_[1] += signB_[1] * g;
    cb_[2] += signB_[2] * g;
    cb_[3] += signB_[3] * g;
    cb_[4] += signB_[4] * g;
  }
  return residual;
}

}  // namespace mac
