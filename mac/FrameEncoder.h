// Compresses one frame of 16-bit PCM into its APE byte form (CRC word, optional flags word,
// range-coded residuals). Every frame is independent: all codec state restarts here.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "NNFilter.h"
#include "Predictor.h"
#include "RangeEncoder.h"

namespace mac {

class FrameEncoder {
 public:
  // simd: the NN filters' kernels (the scalar reference or one this CPU has).
  FrameEncoder(int compressionLevel, int channels, SimdLevel simd = BestSimdLevel());

  // pcm: `blocks` interleaved little-endian 16-bit sample frames. The result stays valid
  // until the next call.
  std::span<const uint8_t> Encode(const uint8_t* pcm, uint32_t blocks);

 private:
  // Both code from out_[start] on and return the frame's end.
  size_t EncodeStereo(const uint8_t* pcm, uint32_t blocks, size_t start);
  // Codes one channel (every `stride`-th sample starting at pcm) the mono way.
  size_t EncodeMono(const uint8_t* pcm, uint32_t blocks, int stride, size_t start);
  void Filter(int channel, int32_t* data, uint32_t count);

  int channels_;
  std::vector<NNFilter> filters_[2];  // per channel, in encoding order
  std::vector<int32_t> residuals_[2];  // reused from frame to frame
  std::vector<uint8_t> out_;           // the frame's bytes; only grows
};

}  // namespace mac
