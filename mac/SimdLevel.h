// Instruction sets the codec's vector kernels can use, and the best one this CPU offers.
#pragma once

namespace mac {

enum class SimdLevel { Scalar, Sse2, Avx2 };

// Every level up to the best one runs on this CPU (Scalar everywhere, SSE2 on every x64).
SimdLevel BestSimdLevel();
bool SimdLevelAvailable(SimdLevel level);
const char* SimdLevelName(SimdLevel level);

}  // namespace mac
