#include "SimdLevel.h"

namespace mac {

namespace {

SimdLevel Detect() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();  // a DLL may run before libgcc's constructor has looked
  // Also false when the OS does not save the AVX registers.
  if (__builtin_cpu_supports("avx2")) return SimdLevel::Avx2;
  if (__builtin_cpu_supports("sse2")) return SimdLevel::Sse2;
#endif
  return SimdLevel::Scalar;
}

}  // namespace

SimdLevel BestSimdLevel() {
  static const SimdLevel best = Detect();
  return best;
}

bool SimdLevelAvailable(SimdLevel level) { return int(level) <= int(BestSimdLevel()); }

const char* SimdLevelName(SimdLevel level) {
  switch (level) {
    case SimdLevel::Sse2: return "SSE2";
    case SimdLevel::Avx2: return "AVX2";
    default: return "scalar";
  }
}

}  // namespace mac
