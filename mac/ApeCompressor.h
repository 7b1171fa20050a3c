// One compressor handle of the library: validates the caller's requests, keeps one frame of
// PCM, and compresses each frame as soon as it is complete.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ApeFileWriter.h"
#include "FrameEncoder.h"
#include "MACDll.h"

namespace mac {

class ApeCompressor {
 public:
  int32_t Start(const char* utf8OutputFile, const TWaveFormatEx* format, int32_t maxAudioBytes,
                int32_t compressionLevel, const void* headerData, int32_t headerBytes);
  uint8_t* LockBuffer(int32_t* bytesAvailable);
  int32_t UnlockBuffer(int32_t bytesAdded, bool process);
  int32_t Finish(const uint8_t* terminatingData, int32_t terminatingBytes,
                 int32_t wavTerminatingBytes);

 private:
  int32_t Room() const;
  void CompressFullFrame();
  void Abandon();

  std::unique_ptr<ApeFileWriter> writer_;
  std::unique_ptr<FrameEncoder> encoder_;
  std::vector<uint8_t> frame_;  // PCM of the frame being filled
  size_t filled_ = 0;
  uint32_t blockAlign_ = 0;
  int64_t maxAudioBytes_ = -1;  // -1: no limit given
  int64_t audioBytes_ = 0;      // accepted so far
  int32_t error_ = 0;           // sticky once a write failed
};

}  // namespace mac
