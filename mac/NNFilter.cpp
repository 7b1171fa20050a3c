#include "NNFilter.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mac {

namespace {

// Sum of c[j] * d[j] modulo 2^32 (order is a multiple of 16).
int32_t Dot(const int16_t* c, const int16_t* d, int order) {
#if defined(__SSE2__)
  __m128i sum0 = _mm_setzero_si128();
  __m128i sum1 = _mm_setzero_si128();
  for (int j = 0; j < order; j += 16) {
    const auto* cv = reinterpret_cast<const __m128i*>(c + j);
    const auto* dv = reinterpret_cast<const __m128i*>(d + j);
    sum0 = _mm_add_epi32(sum0, _mm_madd_epi16(_mm_loadu_si128(cv), _mm_loadu_si128(dv)));
    sum1 = _mm_add_epi32(sum1, _mm_madd_epi16(_mm_loadu_si128(cv + 1), _mm_loadu_si128(dv + 1)));
  }
  __m128i sum = _mm_add_epi32(sum0, sum1);
  sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, _MM_SHUFFLE(1, 0, 3, 2)));
  sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, _MM_SHUFFLE(2, 3, 0, 1)));
  return _mm_cvtsi128_si32(sum);
#else
  uint32_t sum = 0;
  for (int j = 0; j < order; ++j) sum += uint32_t(int32_t(c[j]) * int32_t(d[j]));
  return int32_t(sum);
#endif
}

// c[j] += a[j] (kAdd) or c[j] -= a[j], wrapping in 16 bits.
template <bool kAdd>
void Adapt(int16_t* c, const int16_t* a, int order) {
#if defined(__SSE2__)
  for (int j = 0; j < order; j += 8) {
    auto* cp = reinterpret_cast<__m128i*>(c + j);
    const __m128i av = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + j));
    const __m128i cv = _mm_loadu_si128(cp);
    _mm_storeu_si128(cp, kAdd ? _mm_add_epi16(cv, av) : _mm_sub_epi16(cv, av));
  }
#else
  for (int j = 0; j < order; ++j) c[j] = int16_t(kAdd ? c[j] + a[j] : c[j] - a[j]);
#endif
}

int16_t Clip16(int32_t v) { return int16_t(std::clamp<int32_t>(v, -32768, 32767)); }

}  // namespace

NNFilter::NNFilter(int order, int fractionBits)
    : order_(order),
      fractionBits_(fractionBits),
      coefficients_(order),
      inputs_(order + kWindow),
      steps_(order + kWindow) {
  Reset();
}

void NNFilter::Reset() {
  std::fill(coefficients_.begin(), coefficients_.end(), 0);
  std::fill(inputs_.begin(), inputs_.end(), 0);
  std::fill(steps_.begin(), steps_.end(), 0);
  position_ = order_;
  average_ = 0;
}

void NNFilter::Apply(int32_t* data, size_t count) {
  const int64_t rounding = int64_t(1) << (fractionBits_ - 1);
  int16_t* const coefficients = coefficients_.data();
  int16_t* const inputs = inputs_.data();
  int16_t* const steps = steps_.data();
  for (size_t i = 0; i < count; ++i) {
    const int32_t x = data[i];
    size_t n = position_;

    const int32_t dot = Dot(coefficients, inputs + n - order_, order_);
    const int32_t prediction = int32_t((int64_t(dot) + rounding) >> fractionBits_);
    const int32_t residual = int32_t(uint32_t(x) - uint32_t(prediction));
    data[i] = residual;

    // Sign-sign adaptation, with the decoder's sign convention (+ for a negative residual).
    if (residual < 0)
      Adapt<true>(coefficients, steps + n - order_, order_);
    else if (residual > 0)
      Adapt<false>(coefficients, steps + n - order_, order_);

    inputs[n] = Clip16(x);
    const uint32_t magnitude = x < 0 ? 0u - uint32_t(x) : uint32_t(x);
    if (magnitude == 0) {
      steps[n] = 0;
    } else {
      const int scale = (uint64_t(magnitude) > uint64_t(average_) * 3) +
                        (magnitude > average_ + average_ / 3);
      const int16_t step = int16_t(8 << scale);
      steps[n] = x < 0 ? step : int16_t(-step);
    }
    average_ += uint32_t(int32_t(magnitude - average_) / 16);
    steps[n - 1] >>= 1;
    steps[n - 2] >>= 1;
    steps[n - 8] >>= 1;

    if (++n == inputs_.size()) {
      std::memmove(inputs, inputs + n - order_, order_ * sizeof(int16_t));
      std::memmove(steps, steps + n - order_, order_ * sizeof(int16_t));
      n = order_;
    }
    position_ = n;
  }
}

}  // namespace mac
