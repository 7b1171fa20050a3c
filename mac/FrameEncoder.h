// Compresses one frame of 16-bit PCM into its APE byte form (CRC word, optional flags word,
// range-coded residuals). Every frame is independent: all codec state restarts here.
#pragma once

#include <cstdint>
#include <vector>

#include "NNFilter.h"
#include "Predictor.h"
#include "RangeEncoder.h"

namespace mac {

class FrameEncoder {
 public:
  FrameEncoder(int compressionLevel, int channels);

  // pcm: `blocks` interleaved little-endian 16-bit sample frames. Appends the frame to out.
  void Encode(const uint8_t* pcm, uint32_t blocks, std::vector<uint8_t>& out);

 private:
  void EncodeStereo(const uint8_t* pcm, uint32_t blocks, RangeEncoder& coder);
  // Codes one channel (every `stride`-th sample starting at pcm) the mono way.
  void EncodeMono(const uint8_t* pcm, uint32_t blocks, int stride, RangeEncoder& coder);
  void Filter(int channel, int32_t* data, uint32_t count);

  int channels_;
  StereoPredictor stereo_;
  ChannelPredictor mono_;
  std::vector<NNFilter> filters_[2];  // per channel, in encoding order
  ResidualCoder coders_[2];
  std::vector<int32_t> residuals_[2];  // reused from frame to frame
};

}  // namespace mac
