// The per-sample bookkeeping every NN filter kernel shares: recording an input in the two
// history windows, halving old steps, sliding the windows. A kernel keeps one of these as a
// local for its loop (so the compiler holds it in registers) and stores it back at the end.
#pragma once

#include <algorithm>
#include <cstring>

#include "NNFilter.h"

namespace mac {

class NNFilterHistory {
 public:
  explicit NNFilterHistory(const NNFilterState& s)
      : inputs_(s.inputs), steps_(s.steps), size_(s.size), n_(s.position), average_(s.average),
        order_(size_t(s.order)), rounding_(int64_t(1) << (s.fractionBits - 1)),
        fractionBits_(s.fractionBits) {}

  void StoreTo(NNFilterState& s) const {
    s.position = n_;
    s.average = average_;
  }

  // The last `order` inputs, oldest first, and the steps that go with them.
  const int16_t* Inputs() const { return inputs_ + n_ - order_; }
  const int16_t* Steps() const { return steps_ + n_ - order_; }
  // The previous sample's steps, as they were when it was predicted.
  const int16_t* PreviousSteps() const { return steps_ + n_ - 1 - order_; }

  int32_t Residual(int32_t x, int32_t dot) const {
    const int32_t prediction = int32_t((int64_t(dot) + rounding_) >> fractionBits_);
    return int32_t(uint32_t(x) - uint32_t(prediction));
  }

  // The input x joins the windows with its adaptation step.
  void Record(int32_t x) {
    inputs_[n_] = int16_t(std::clamp<int32_t>(x, -32768, 32767));
    const uint32_t magnitude = x < 0 ? 0u - uint32_t(x) : uint32_t(x);
    if (magnitude == 0) {
      steps_[n_] = 0;
    } else {
      const int scale = (uint64_t(magnitude) > uint64_t(average_) * 3) +
                        (magnitude > average_ + average_ / 3);
      const int16_t step = int16_t(8 << scale);
      steps_[n_] = x < 0 ? step : int16_t(-step);
    }
    average_ += uint32_t(int32_t(magnitude - average_) / 16);
  }

  // Older steps weigh less once the sample at `at` has been recorded.
  void HalveStepsBehind(size_t at) {
    steps_[at - 1] >>= 1;
    steps_[at - 2] >>= 1;
    steps_[at - 8] >>= 1;
  }
  void HalveStepsBehindCurrent() { HalveStepsBehind(n_); }
  void HalveStepsBehindPrevious() { HalveStepsBehind(n_ - 1); }

  void Advance() {
    if (++n_ == size_) {
      const size_t keep = order_ + 1;
      std::memmove(inputs_, inputs_ + n_ - keep, keep * sizeof(int16_t));
      std::memmove(steps_, steps_ + n_ - keep, keep * sizeof(int16_t));
      n_ = keep;
    }
  }

 private:
  int16_t* inputs_;
  int16_t* steps_;
  size_t size_;
  size_t n_;
  uint32_t average_;
  size_t order_;
  int64_t rounding_;
  int fractionBits_;
};

// Sign-sign adaptation, with the decoder's sign convention: +1 for a negative residual.
inline int32_t AdaptationSign(int32_t residual) { return (residual < 0) - (residual > 0); }

}  // namespace mac
