// Adaptive FIR stage of the APE codec ("NN filter"): int16 coefficients adapted by a
// sign-sign rule, with the adaptation step scaled by the input's running magnitude.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "SimdLevel.h"

namespace mac {

// The filter's memory, shared by the scalar reference and the vector kernels.
//
// History windows slide through a longer buffer so that the last `order` values are always
// contiguous; they are moved back to the front only once per kWindow samples. The vector
// kernels adapt the coefficients for a sample in the same pass that predicts the next one,
// so the windows keep one value more than `order`: the previous sample's steps.
struct NNFilterState {
  static constexpr size_t kWindow = 512;

  int order = 0;
  int fractionBits = 0;
  int16_t* coefficients = nullptr;
  int16_t* inputs = nullptr;  // clipped inputs, then (order + 1 + kWindow on) the steps
  size_t position = 0;        // index of the next value in both windows
  uint32_t average = 0;       // running mean of |input|
};

// Kernels: run `filters` (1 or 2) filters of the same order, each over its own `count`
// values, replacing each value by its residual against the prediction. The vector kernels
// take only the filter shapes the codec uses (HasVectorKernel).
bool HasVectorKernel(int order, int fractionBits);
using NNFilterKernel = void (*)(NNFilterState* const* states, int32_t* const* data, int filters,
                                size_t count);
void ApplyNNFiltersScalar(NNFilterState* const* states, int32_t* const* data, int filters,
                          size_t count);
void ApplyNNFiltersSse2(NNFilterState* const* states, int32_t* const* data, int filters,
                        size_t count);
void ApplyNNFiltersAvx2(NNFilterState* const* states, int32_t* const* data, int filters,
                        size_t count);

class NNFilter {
 public:
  // order is a multiple of 16; level must be available on this CPU.
  NNFilter(int order, int fractionBits, SimdLevel level = BestSimdLevel());
  NNFilter(const NNFilter& other);
  NNFilter& operator=(const NNFilter&) = delete;

  void Reset();
  // Replaces each input value by its residual against the filter's prediction.
  void Apply(int32_t* data, size_t count);
  // The same for two filters of one order and kernel over separate values, interleaved.
  static void ApplyPair(NNFilter& first, int32_t* firstData, NNFilter& second,
                        int32_t* secondData, size_t count);

  SimdLevel Level() const { return level_; }
  int Order() const { return state_.order; }
  const int16_t* Coefficients() const { return state_.coefficients; }

 private:
  void Bind();
  size_t WindowSize() const { return size_t(state_.order) + 1 + NNFilterState::kWindow; }

  NNFilterKernel kernel_;
  SimdLevel level_;
  std::vector<int16_t> memory_;  // coefficients, then the two windows
  NNFilterState state_;
};

}  // namespace mac
