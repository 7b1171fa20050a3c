#include "ApeFormat.h"

namespace mac {

namespace {
constexpr NNFilterSpec kNormal[] = {{16, 11}};
constexpr NNFilterSpec kHigh[] = {{64, 11}};
// Decoders apply (32, 10) and then (256, 13); the encoder runs them the other way round.
constexpr NNFilterSpec kExtraHigh[] = {{256, 13}, {32, 10}};
}  // namespace

std::span<const NNFilterSpec> EncoderFilters(int compressionLevel) {
  switch (compressionLevel) {
    case 2000: return kNormal;
    case 3000: return kHigh;
    case 4000: return kExtraHigh;
    default: return {};
  }
}

bool IsSupportedLevel(int compressionLevel) {
  return compressionLevel == 1000 || compressionLevel == 2000 || compressionLevel == 3000 ||
         compressionLevel == 4000;
}

}  // namespace mac
