// SSE2 and AVX2 kernels of the NN filter. Built without global ISA flags: each kernel carries
// its own target attribute and NNFilter picks one the CPU has.
//
// The encoder learns the sign that adapts the coefficients only from the residual, which
// needs the prediction first. So the pass over the coefficients for sample n both applies
// sample n-1's adaptation and computes sample n's prediction, touching each coefficient once;
// the coefficients stay in registers (or the stack) for the whole call. The step halvings
// that follow an adaptation wait for it. Results are those of
// the scalar reference, bit for bit: 16-bit coefficient arithmetic wraps, the dot product
// wraps modulo 2^32 in either order of summation.
//
// One sample's prediction waits for the previous sample's residual, so a lone short filter
// is bound by that latency; two independent filters (the two channels) run interleaved to
// fill it.
#include "NNFilter.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#include <cstring>

#include "NNFilterHistory.h"

namespace mac {

namespace {

// The vector types, named by tags (they lose their attributes as template arguments).
struct Sse2Vectors {
  using V = __m128i;
};
struct Avx2Vectors {
  using V = __m256i;
};

// One filter's part of a kernel loop: its coefficients (in registers where they fit), its
// history and its pending sign, all locals of the loop.
template <typename Vectors, int kOrder, int kFractionBits>
struct Lane {
  using V = typename Vectors::V;
  static constexpr int kVectors = kOrder / int(sizeof(V) / sizeof(int16_t));
  using History = NNFilterHistory<kOrder, kFractionBits>;

  explicit Lane(NNFilterState& s) : h(s) { std::memcpy(c, s.coefficients, sizeof c); }
  // Applies the last sample's adaptation, so that the coefficients are the reference's
  // between calls. (Its step halvings stay for the next call's first sample.)
  void StoreTo(NNFilterState& s) const {
    std::memcpy(s.coefficients, c, sizeof c);
    const int16_t* steps = h.PreviousSteps();
    for (int j = 0; j < kOrder; ++j) s.coefficients[j] = int16_t(s.coefficients[j] + sign * steps[j]);
    h.StoreTo(s);
  }
  // The sample's dot product is known: finish the sample.
  [[gnu::always_inline]] void Finish(int32_t& value, int32_t dot) {
    h.HalveStepsBehindPrevious();
    const int32_t x = value;
    const int32_t residual = h.Residual(x, dot);
    value = residual;
    sign = AdaptationSign(residual);
    h.Record(x);
    h.Advance();
  }

  V c[kVectors];
  History h;
  int32_t sign = 0;  // of the sample whose adaptation is pending
};

template <int kOrder, int kFractionBits>
using Sse2Lane = Lane<Sse2Vectors, kOrder, kFractionBits>;
template <int kOrder, int kFractionBits>
using Avx2Lane = Lane<Avx2Vectors, kOrder, kFractionBits>;

template <int kOrder, int kFractionBits>
__attribute__((target("sse2"))) inline void Sse2Step(Sse2Lane<kOrder, kFractionBits>& l,
                                                     int32_t& value) {
  const __m128i factor = _mm_set1_epi16(int16_t(l.sign));
  const auto* a = reinterpret_cast<const __m128i*>(l.h.PreviousSteps());
  const auto* d = reinterpret_cast<const __m128i*>(l.h.Inputs());
  __m128i sum0 = _mm_setzero_si128();
  __m128i sum1 = _mm_setzero_si128();
  for (int k = 0; k < l.kVectors; k += 2) {
    l.c[k] = _mm_add_epi16(l.c[k], _mm_mullo_epi16(_mm_loadu_si128(a + k), factor));
    l.c[k + 1] = _mm_add_epi16(l.c[k + 1], _mm_mullo_epi16(_mm_loadu_si128(a + k + 1), factor));
    sum0 = _mm_add_epi32(sum0, _mm_madd_epi16(l.c[k], _mm_loadu_si128(d + k)));
    sum1 = _mm_add_epi32(sum1, _mm_madd_epi16(l.c[k + 1], _mm_loadu_si128(d + k + 1)));
  }
  __m128i sum = _mm_add_epi32(sum0, sum1);
  sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, _MM_SHUFFLE(1, 0, 3, 2)));
  sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, _MM_SHUFFLE(2, 3, 0, 1)));
  l.Finish(value, _mm_cvtsi128_si32(sum));
}

template <int kOrder, int kFractionBits>
__attribute__((target("avx2"))) inline void Avx2Step(Avx2Lane<kOrder, kFractionBits>& l,
                                                     int32_t& value) {
  // vpsignw: the steps negated, kept or zeroed as the sign says.
  const __m256i factor = _mm256_set1_epi16(int16_t(l.sign));
  const auto* a = reinterpret_cast<const __m256i*>(l.h.PreviousSteps());
  const auto* d = reinterpret_cast<const __m256i*>(l.h.Inputs());
  __m256i sum = _mm256_setzero_si256();
  for (int k = 0; k < l.kVectors; ++k) {
    l.c[k] = _mm256_add_epi16(l.c[k], _mm256_sign_epi16(_mm256_loadu_si256(a + k), factor));
    sum = _mm256_add_epi32(sum, _mm256_madd_epi16(l.c[k], _mm256_loadu_si256(d + k)));
  }
  __m128i half = _mm_add_epi32(_mm256_castsi256_si128(sum), _mm256_extracti128_si256(sum, 1));
  half = _mm_add_epi32(half, _mm_shuffle_epi32(half, _MM_SHUFFLE(1, 0, 3, 2)));
  half = _mm_add_epi32(half, _mm_shuffle_epi32(half, _MM_SHUFFLE(2, 3, 0, 1)));
  l.Finish(value, _mm_cvtsi128_si32(half));
}

// One filter, or two side by side (each lane a separate local, so both stay in registers).
// Generic: the kernels below instantiate it inside functions built for their instruction
// set, with `flatten` so that it and the step are inlined there.
template <class L, void (*Step)(L&, int32_t&)>
inline void RunLanes(NNFilterState* const* states, int32_t* const* data, int filters, size_t count) {
  L first(*states[0]);
  int32_t* const firstData = data[0];
  if (filters == 1) {
    for (size_t i = 0; i < count; ++i) Step(first, firstData[i]);
  } else {
    L second(*states[1]);
    int32_t* const secondData = data[1];
    for (size_t i = 0; i < count; ++i) {
      Step(first, firstData[i]);
      Step(second, secondData[i]);
    }
    second.StoreTo(*states[1]);
  }
  first.StoreTo(*states[0]);
}

template <int kOrder, int kFractionBits>
__attribute__((target("sse2"), flatten)) void Sse2Loop(NNFilterState* const* states,
                                                       int32_t* const* data, int filters,
                                                       size_t count) {
  using L = Sse2Lane<kOrder, kFractionBits>;
  RunLanes<L, Sse2Step<kOrder, kFractionBits>>(states, data, filters, count);
}

template <int kOrder, int kFractionBits>
__attribute__((target("avx2"), flatten)) void Avx2Loop(NNFilterState* const* states,
                                                       int32_t* const* data, int filters,
                                                       size_t count) {
  using L = Avx2Lane<kOrder, kFractionBits>;
  RunLanes<L, Avx2Step<kOrder, kFractionBits>>(states, data, filters, count);
}

}  // namespace

// The filter shapes of the codec's levels (HasVectorKernel): the caller checked the shape.
void ApplyNNFiltersSse2(NNFilterState* const* states, int32_t* const* data, int filters,
                        size_t count) {
  switch (states[0]->order) {
    case 16: return Sse2Loop<16, 11>(states, data, filters, count);
    case 32: return Sse2Loop<32, 10>(states, data, filters, count);
    case 64: return Sse2Loop<64, 11>(states, data, filters, count);
    default: return Sse2Loop<256, 13>(states, data, filters, count);
  }
}

void ApplyNNFiltersAvx2(NNFilterState* const* states, int32_t* const* data, int filters,
                        size_t count) {
  switch (states[0]->order) {
    case 16: return Avx2Loop<16, 11>(states, data, filters, count);
    case 32: return Avx2Loop<32, 10>(states, data, filters, count);
    case 64: return Avx2Loop<64, 11>(states, data, filters, count);
    default: return Avx2Loop<256, 13>(states, data, filters, count);
  }
}

}  // namespace mac

#endif
