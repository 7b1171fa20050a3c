// Lays out a version 3990 APE file: descriptor, header, seek table, stored WAV header, the
// frames (as one byte stream stored in byte-reversed 32-bit groups) and the WAV tail.
// Frames are written as they come; the header block is rewritten by Finish.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "Checksums.h"
#include "OutputFile.h"

namespace mac {

struct ApeStreamInfo {
  uint16_t compressionLevel;
  uint16_t channels;
  uint16_t bitsPerSample;
  uint32_t sampleRate;
};

class ApeFileWriter {
 public:
  // seekCapacity: most frames the file may get (the seek table is reserved up front).
  // wavHeader is stored as given; createWavHeader marks a file without one.
  ApeFileWriter(const std::string& utf8Path, const ApeStreamInfo& info, uint32_t seekCapacity,
                std::span<const uint8_t> wavHeader, bool createWavHeader);

  // Appends a compressed frame of `blocks` sample frames. Only the last one may be short.
  void AddFrame(std::span<const uint8_t> frame, uint32_t blocks);

  // Appends `terminating` (its first wavTerminatingBytes being WAV data), fills in the
  // header, seek table and MD5, and closes the file.
  void Finish(std::span<const uint8_t> terminating, uint32_t wavTerminatingBytes);

  uint32_t FrameCount() const { return uint32_t(seekTable_.size()); }

 private:
  std::vector<uint8_t> HeaderAndSeekTable() const;
  void WriteGroups(const uint8_t* data, size_t size);

  OutputFile file_;
  ApeStreamInfo info_;
  uint32_t seekCapacity_;
  uint32_t wavHeaderBytes_;
  bool createWavHeader_;
  uint64_t firstFrame_;
  std::vector<uint32_t> seekTable_;
  uint32_t lastFrameBlocks_ = 0;
  uint64_t streamBytes_ = 0;  // frame bytes so far, before grouping
  uint8_t carry_[4] = {};     // bytes of an incomplete group
  size_t carried_ = 0;
  std::vector<uint8_t> grouped_;
  Md5 md5_;
};

}  // namespace mac
