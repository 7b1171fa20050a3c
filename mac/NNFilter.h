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
// so one sample's adaptation (its sign and its step halvings) is pending between samples;
// the buffers keep one value more than `order` for it.
struct NNFilterState {
  static constexpr size_t kWindow = 512;

  int order = 0;
  int fractionBits = 0;
  int16_t* coefficients = nullptr;
  int16_t* inputs = nullptr;  // clipped inputs
  int16_t* steps = nullptr;   // adaptation steps
  size_t size = 0;            // of both windows
  size_t position = 0;        // index of the next value in both windows
  uint32_t average = 0;       // running mean of |input|
  int32_t pendingSign = 0;    // +1, -1 or 0: the previous sample's adaptation (vector kernels)
};

// Kernels: replace each of `count` values by its residual against the prediction. The vector
// kernels take only the orders the codec uses (HasVectorKernel).
bool HasVectorKernel(int order);
void ApplyNNFilterScalar(NNFilterState& s, int32_t* data, size_t count);
void ApplyNNFilterSse2(NNFilterState& s, int32_t* data, size_t count);
void ApplyNNFilterAvx2(NNFilterState& s, int32_t* data, size_t count);

class NNFilter {
 public:
  // order is a multiple of 16; level must be available on this CPU.
  NNFilter(int order, int fractionBits, SimdLevel level = BestSimdLevel());
  NNFilter(const NNFilter& other);
  NNFilter& operator=(const NNFilter&) = delete;

  void Reset();
  // Replaces each input value by its residual against the filter's prediction.
  void Apply(int32_t* data, size_t count) { kernel_(state_, data, count); }

 private:
  void Bind();

  using Kernel = void (*)(NNFilterState&, int32_t*, size_t);
  Kernel kernel_;
  SimdLevel level_;
  std::vector<int16_t> memory_;  // coefficients, then the two windows
  NNFilterState state_;
};

}  // namespace mac
