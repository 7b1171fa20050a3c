// Fixed facts of the Monkey's Audio container and codec as written by this library
// (file version 3990, 16-bit PCM, mono or stereo).
#pragma once

#include <cstdint>
#include <span>

namespace mac {

inline constexpr uint16_t kFileVersion = 3990;
inline constexpr uint32_t kDescriptorBytes = 52;
inline constexpr uint32_t kHeaderBytes = 24;
inline constexpr uint32_t kBlocksPerFrame = 73728 * 4;
inline constexpr uint16_t kFlagCreateWavHeader = 32;

// Frame flags word values (present when bit 31 of the CRC word is set).
inline constexpr uint32_t kFrameMonoSilence = 1;
inline constexpr uint32_t kFrameStereoSilence = 3;
inline constexpr uint32_t kFramePseudoStereo = 4;

struct NNFilterSpec {
  int order;
  int fractionBits;
};

// The level's adaptive filters in the order the encoder runs them, which is the reverse of
// the order a decoder undoes them in. Empty for level 1000.
std::span<const NNFilterSpec> EncoderFilters(int compressionLevel);

bool IsSupportedLevel(int compressionLevel);

}  // namespace mac
