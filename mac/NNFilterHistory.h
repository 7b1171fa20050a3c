// The per-sample bookkeeping every NN filter kernel shares: recording an input in the two
// history windows, halving old steps, sliding the windows. A kernel keeps one of these as a
// local for its loop (so the compiler holds it in registers) and stores it back at the end.
// Kernels for one filter shape give its order and fraction bits as constants (0: read them
// from the state).
#pragma once

#include <algorithm>
#include <cstring>

#include "NNFilter.h"

namespace mac {

template <int kOrder = 0, int kFractionBits = 0>
class NNFilterHistory {
 public:
  NNFilterHistory() = default;
  explicit NNFilterHistory(const NNFilterState& s)
      : begin_(s.inputs), at_(s.inputs + s.position), average_(s.average), order_(s.order),
        fractionBits_(s.fractionBits) {}

  void StoreTo(NNFilterState& s) const {
    s.position = size_t(at_ - begin_);
    s.average = average_;
  }

  // The last `order` inputs, oldest first, and the steps that go with them.
  const int16_t* Inputs() const { return at_ - Order(); }
  const int16_t* Steps() const { return at_ + Size() - Order(); }
  // The previous sample's steps, as they were when it was predicted.
  const int16_t* PreviousSteps() const { return Steps() - 1; }

  int32_t Residual(int32_t x, int32_t dot) const {
    const int64_t rounding = int64_t(1) << (FractionBits() - 1);
    const int32_t prediction = int32_t((int64_t(dot) + rounding) >> FractionBits());
    return int32_t(uint32_t(x) - uint32_t(prediction));
  }

  // The input x joins the windows with its adaptation step: +-8, 16 or 32 by how x compares
  // with the running mean, negative for a positive x, 0 for 0. Without branches: the sign of
  // x is as good as random.
  void Record(int32_t x) {
    at_[0] = int16_t(std::clamp<int32_t>(x, -32768, 32767));
    const uint32_t magnitude = x < 0 ? 0u - uint32_t(x) : uint32_t(x);
    const int scale = (uint64_t(magnitude) > uint64_t(average_) * 3) +
                      (magnitude > average_ + average_ / 3);
    const int32_t sign = (x < 0) - (x > 0);
    at_[Size()] = int16_t(sign * (8 << scale));
    average_ += uint32_t(int32_t(magnitude - average_) / 16);
  }

  // Older steps weigh less once the sample at `at` has been recorded.
  static void HalveStepsBehind(int16_t* at) {
    at[-1] >>= 1;
    at[-2] >>= 1;
    at[-8] >>= 1;
  }
  void HalveStepsBehindCurrent() { HalveStepsBehind(at_ + Size()); }
  void HalveStepsBehindPrevious() { HalveStepsBehind(at_ + Size() - 1); }

  void Advance() {
    if (++at_ == begin_ + Size()) Slide();
  }

 private:
  int Order() const {
    if constexpr (kOrder > 0) return kOrder;
    return order_;
  }
  int FractionBits() const {
    if constexpr (kFractionBits > 0) return kFractionBits;
    return fractionBits_;
  }
  // Both windows, one after the other.
  size_t Size() const { return size_t(Order()) + 1 + NNFilterState::kWindow; }

  void Slide() {
    const size_t keep = size_t(Order()) + 1;
    int16_t* const steps = begin_ + Size();
    std::memmove(begin_, at_ - keep, keep * sizeof(int16_t));
    std::memmove(steps, steps + Size() - keep, keep * sizeof(int16_t));
    at_ = begin_ + keep;
  }

  int16_t* begin_ = nullptr;  // inputs window; the steps window follows it
  int16_t* at_ = nullptr;     // the next input's place
  uint32_t average_ = 0;
  int order_ = 0;
  int fractionBits_ = 0;
};

// Sign-sign adaptation, with the decoder's sign convention: +1 for a negative residual.
inline int32_t AdaptationSign(int32_t residual) { return (residual < 0) - (residual > 0); }

}  // namespace mac
