#include "NNFilter.h"

#include <algorithm>
#include <cassert>

#include "NNFilterHistory.h"

namespace mac {

namespace {

constexpr size_t kAlignBytes = 32;  // one AVX2 register
constexpr size_t kAlignValues = kAlignBytes / sizeof(int16_t);

}  // namespace

bool HasVectorKernel(int order, int fractionBits) {
  return (order == 16 && fractionBits == 11) || (order == 64 && fractionBits == 11) ||
         (order == 256 && fractionBits == 13) || (order == 32 && fractionBits == 10);
}

// The reference the vector kernels must match: predict, then adapt, one value at a time.
namespace {

void ApplyScalar(NNFilterState& s, int32_t* data, size_t count) {
  const int order = s.order;
  int16_t* const c = s.coefficients;
  NNFilterHistory<> h(s);
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

}  // namespace

void ApplyNNFiltersScalar(NNFilterState* const* states, int32_t* const* data, int filters,
                          size_t count) {
  for (int f = 0; f < filters; ++f) ApplyScalar(*states[f], data[f], count);
}

void NNFilter::Apply(int32_t* data, size_t count) {
  NNFilterState* states[] = {&state_};
  kernel_(states, &data, 1, count);
}

void NNFilter::ApplyPair(NNFilter& first, int32_t* firstData, NNFilter& second,
                         int32_t* secondData, size_t count) {
  assert(first.kernel_ == second.kernel_ && first.state_.order == second.state_.order);
  NNFilterState* states[] = {&first.state_, &second.state_};
  int32_t* data[] = {firstData, secondData};
  first.kernel_(states, data, 2, count);
}

NNFilter::NNFilter(int order, int fractionBits, SimdLevel level) : level_(level) {
  assert(order > 0 && order % 16 == 0 && SimdLevelAvailable(level));
  state_.order = order;
  state_.fractionBits = fractionBits;
  memory_.resize(kAlignValues + size_t(order) + 2 * WindowSize());
  Bind();
  Reset();
}

NNFilter::NNFilter(const NNFilter& other) : level_(other.level_), state_(other.state_) {
  memory_.resize(other.memory_.size());
  Bind();
  const size_t values = size_t(state_.order) + 2 * WindowSize();
  std::copy_n(other.state_.coefficients, values, state_.coefficients);
}

// Points the state into memory_, the coefficients aligned for the widest vector loads.
void NNFilter::Bind() {
  const auto address = reinterpret_cast<uintptr_t>(memory_.data());
  const size_t skip = (kAlignBytes - address % kAlignBytes) % kAlignBytes / sizeof(int16_t);
  state_.coefficients = memory_.data() + skip;
  state_.inputs = state_.coefficients + state_.order;
  switch (HasVectorKernel(state_.order, state_.fractionBits) ? level_ : SimdLevel::Scalar) {
#if defined(__x86_64__) || defined(__i386__)
    case SimdLevel::Avx2: kernel_ = ApplyNNFiltersAvx2; break;
    case SimdLevel::Sse2: kernel_ = ApplyNNFiltersSse2; break;
#endif
    default: kernel_ = ApplyNNFiltersScalar; break;
  }
}

void NNFilter::Reset() {
  std::fill(memory_.begin(), memory_.end(), 0);
  state_.position = size_t(state_.order) + 1;
  state_.average = 0;
}

}  // namespace mac
