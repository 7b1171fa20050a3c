// SSE2 and AVX2 kernels of the NN filter. Built without global ISA flags: each kernel carries
// its own target attribute and NNFilter picks one the CPU has.
//
// The encoder learns the sign that adapts the coefficients only from the residual, which
// needs the prediction first. So the pass over the coefficients for sample n both applies
// sample n-1's adaptation and computes sample n's prediction, touching each coefficient once;
// the coefficients stay in registers (or the stack) for the whole call. Results are those of
// the scalar reference, bit for bit: 16-bit coefficient arithmetic wraps, the dot product
// wraps modulo 2^32 in either order of summation.
#include "NNFilter.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#include "NNFilterHistory.h"

namespace mac {

namespace {

template <int kOrder>
__attribute__((target("sse2"))) void Sse2Loop(NNFilterState& s, int32_t* data, size_t count) {
  constexpr int kVectors = kOrder / 8;
  __m128i c[kVectors];
  for (int k = 0; k < kVectors; ++k)
    c[k] = _mm_load_si128(reinterpret_cast<const __m128i*>(s.coefficients) + k);
  NNFilterHistory h(s);
  int32_t sign = s.pendingSign;
  for (size_t i = 0; i < count; ++i) {
    const __m128i factor = _mm_set1_epi16(int16_t(sign));
    const auto* a = reinterpret_cast<const __m128i*>(h.PreviousSteps());
    const auto* d = reinterpret_cast<const __m128i*>(h.Inputs());
    __m128i sum0 = _mm_setzero_si128();
    __m128i sum1 = _mm_setzero_si128();
    for (int k = 0; k < kVectors; k += 2) {
      c[k] = _mm_add_epi16(c[k], _mm_mullo_epi16(_mm_loadu_si128(a + k), factor));
      c[k + 1] = _mm_add_epi16(c[k + 1], _mm_mullo_epi16(_mm_loadu_si128(a + k + 1), factor));
      sum0 = _mm_add_epi32(sum0, _mm_madd_epi16(c[k], _mm_loadu_si128(d + k)));
      sum1 = _mm_add_epi32(sum1, _mm_madd_epi16(c[k + 1], _mm_loadu_si128(d + k + 1)));
    }
    __m128i sum = _mm_add_epi32(sum0, sum1);
    sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, _MM_SHUFFLE(1, 0, 3, 2)));
    sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, _MM_SHUFFLE(2, 3, 0, 1)));
    h.HalveStepsBehindPrevious();

    const int32_t x = data[i];
    const int32_t residual = h.Residual(x, _mm_cvtsi128_si32(sum));
    data[i] = residual;
    sign = AdaptationSign(residual);
    h.Record(x);
    h.Advance();
  }
  for (int k = 0; k < kVectors; ++k)
    _mm_store_si128(reinterpret_cast<__m128i*>(s.coefficients) + k, c[k]);
  h.StoreTo(s);
  s.pendingSign = sign;
}

template <int kOrder>
__attribute__((target("avx2"))) void Avx2Loop(NNFilterState& s, int32_t* data, size_t count) {
  constexpr int kVectors = kOrder / 16;
  __m256i c[kVectors];
  for (int k = 0; k < kVectors; ++k)
    c[k] = _mm256_load_si256(reinterpret_cast<const __m256i*>(s.coefficients) + k);
  NNFilterHistory h(s);
  int32_t sign = s.pendingSign;
  for (size_t i = 0; i < count; ++i) {
    // vpsignw: the steps negated, kept or zeroed as the sign says.
    const __m256i factor = _mm256_set1_epi16(int16_t(sign));
    const auto* a = reinterpret_cast<const __m256i*>(h.PreviousSteps());
    const auto* d = reinterpret_cast<const __m256i*>(h.Inputs());
    __m256i sum = _mm256_setzero_si256();
    for (int k = 0; k < kVectors; ++k) {
      c[k] = _mm256_add_epi16(c[k], _mm256_sign_epi16(_mm256_loadu_si256(a + k), factor));
      sum = _mm256_add_epi32(sum, _mm256_madd_epi16(c[k], _mm256_loadu_si256(d + k)));
    }
    __m128i half = _mm_add_epi32(_mm256_castsi256_si128(sum), _mm256_extracti128_si256(sum, 1));
    half = _mm_add_epi32(half, _mm_shuffle_epi32(half, _MM_SHUFFLE(1, 0, 3, 2)));
    half = _mm_add_epi32(half, _mm_shuffle_epi32(half, _MM_SHUFFLE(2, 3, 0, 1)));
    h.HalveStepsBehindPrevious();

    const int32_t x = data[i];
    const int32_t residual = h.Residual(x, _mm_cvtsi128_si32(half));
    data[i] = residual;
    sign = AdaptationSign(residual);
    h.Record(x);
    h.Advance();
  }
  for (int k = 0; k < kVectors; ++k)
    _mm256_store_si256(reinterpret_cast<__m256i*>(s.coefficients) + k, c[k]);
  h.StoreTo(s);
  s.pendingSign = sign;
}

}  // namespace

void ApplyNNFilterSse2(NNFilterState& s, int32_t* data, size_t count) {
  switch (s.order) {
    case 16: return Sse2Loop<16>(s, data, count);
    case 32: return Sse2Loop<32>(s, data, count);
    case 64: return Sse2Loop<64>(s, data, count);
    default: return Sse2Loop<256>(s, data, count);
  }
}

void ApplyNNFilterAvx2(NNFilterState& s, int32_t* data, size_t count) {
  switch (s.order) {
    case 16: return Avx2Loop<16>(s, data, count);
    case 32: return Avx2Loop<32>(s, data, count);
    case 64: return Avx2Loop<64>(s, data, count);
    default: return Avx2Loop<256>(s, data, count);
  }
}

}  // namespace mac

#endif
