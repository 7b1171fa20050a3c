#include "NNFilter.h"

#include <algorithm>
#include <cassert>

#include "NNFilterHistory.h"

namespace mac {

namespace {

constexpr size_t kAlignBytes = 32;  // one AVX2 register
constexpr size_t kAlignValues = kAlignBytes / sizeof(int16_t);

}  // namespace

bool HasVectorKernel(int order) { return order == 16 || order == 32 || order == 64 || order == 256; }

// The reference the vector kernels must match: predict, then adapt, one value at a time.
void ApplyNNFilterScalar(NNFilterState& s, int32_t* data, size_t count) {
  const int order = s.order;
  int16_t* const c = s.coefficients;
  NNFilterHistory h(s);
  for (size_t i = 0; i < count; ++i) {
    const int32_t x = data[i];
    const int16_t* d = h.Inputs();
    uint32_t dot = 0;  // modulo 2^32
    for (int j = 0; j < order; ++j) dot += uint32_t(int32_t(c[j]) * int32_t(d[j]));
    const int32_t residual = h.Residual(x, int32_t(dot));
    data[i] = residual;

    const int32_t sign = AdaptationSign(residual);
    const int16_t* a = h.Steps();
    for (int j = 0; j < order; ++j) c[j] = int16_t(c[j] + sign * a[j]);

    h.Record(x);
    h.HalveStepsBehindCurrent();
    h.Advance();
  }
  h.StoreTo(s);
}

NNFilter::NNFilter(int order, int fractionBits, SimdLevel level) : level_(level) {
  assert(order > 0 && order % 16 == 0 && SimdLevelAvailable(level));
  state_.order = order;
  state_.fractionBits = fractionBits;
  state_.size = size_t(order) + 1 + NNFilterState::kWindow;
  memory_.resize(kAlignValues + size_t(order) + 2 * state_.size);
  Bind();
  Reset();
}

NNFilter::NNFilter(const NNFilter& other) : level_(other.level_), state_(other.state_) {
  memory_.resize(other.memory_.size());
  Bind();
  const size_t values = size_t(state_.order) + 2 * state_.size;
  std::copy_n(other.state_.coefficients, values, state_.coefficients);
}

// Points the state into memory_, the coefficients aligned for the widest vector loads.
void NNFilter::Bind() {
  const auto address = reinterpret_cast<uintptr_t>(memory_.data());
  const size_t skip = (kAlignBytes - address % kAlignBytes) % kAlignBytes / sizeof(int16_t);
  state_.coefficients = memory_.data() + skip;
  state_.inputs = state_.coefficients + state_.order;
  state_.steps = state_.inputs + state_.size;
  switch (HasVectorKernel(state_.order) ? level_ : SimdLevel::Scalar) {
#if defined(__x86_64__) || defined(__i386__)
    case SimdLevel::Avx2: kernel_ = ApplyNNFilterAvx2; break;
    case SimdLevel::Sse2: kernel_ = ApplyNNFilterSse2; break;
#endif
    default: kernel_ = ApplyNNFilterScalar; break;
  }
}

void NNFilter::Reset() {
  std::fill(memory_.begin(), memory_.end(), 0);
  state_.position = size_t(state_.order) + 1;
  state_.average = 0;
  state_.pendingSign = 0;
}

}  // namespace mac
