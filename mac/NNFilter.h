// Adaptive FIR stage of the APE codec ("NN filter"): int16 coefficients adapted by a
// sign-sign rule, with the adaptation step scaled by the input's running magnitude.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mac {

class NNFilter {
 public:
  // order is a multiple of 16.
  NNFilter(int order, int fractionBits);

  void Reset();
  // Replaces each input value by its residual against the filter's prediction.
  void Apply(int32_t* data, size_t count);

 private:
  // History windows slide through a longer buffer so that the last `order` values are always
  // contiguous; they are moved back to the front only once per kWindow samples.
  static constexpr size_t kWindow = 512;

  int order_;
  int fractionBits_;
  std::vector<int16_t> coefficients_;
  std::vector<int16_t> inputs_;  // clipped inputs
  std::vector<int16_t> steps_;   // adaptation steps
  size_t position_ = 0;          // index of the next value in both windows
  uint32_t average_ = 0;         // running mean of |input|
};

}  // namespace mac
