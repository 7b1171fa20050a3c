#include "ApeFileWriter.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "ApeFormat.h"
#include "MACDll.h"
#include "MacError.h"

namespace mac {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

ApeFileWriter::ApeFileWriter(const std::string& utf8Path, const ApeStreamInfo& info,
                             uint32_t seekCapacity, std::span<const uint8_t> wavHeader,
                             bool createWavHeader)
    : file_(utf8Path),
      info_(info),
      seekCapacity_(seekCapacity),
      wavHeaderBytes_(uint32_t(wavHeader.size())),
      createWavHeader_(createWavHeader),
      firstFrame_(uint64_t(kDescriptorBytes) + kHeaderBytes + 4ull * seekCapacity +
                  wavHeader.size()) {
  seekTable_.reserve(seekCapacity);
  // Until Finish the file reads as a valid file without audio.
  const std::vector<uint8_t> head = HeaderAndSeekTable();
  file_.Write(head.data(), head.size());
  file_.Write(wavHeader.data(), wavHeader.size());
  md5_.Update(wavHeader.data(), wavHeader.size());
}

void ApeFileWriter::AddFrame(std::span<const uint8_t> frame, uint32_t blocks) {
  const uint64_t position = firstFrame_ + streamBytes_;
  if (seekTable_.size() >= seekCapacity_ || position > std::numeric_limits<uint32_t>::max())
    throw MacError{MAC_ERROR_TOO_MUCH_DATA};
  seekTable_.push_back(uint32_t(position));
  lastFrameBlocks_ = blocks;
  streamBytes_ += frame.size();
  WriteGroups(frame.data(), frame.size());
}

// The stream is stored in 4-byte groups, each byte-reversed (counted from the first frame).
void ApeFileWriter::WriteGroups(const uint8_t* data, size_t size) {
  auto reverseGroup = [](const uint8_t* from, uint8_t* to) {
    uint32_t group;
    std::memcpy(&group, from, 4);
    group = __builtin_bswap32(group);
    std::memcpy(to, &group, 4);
  };
  // The buffer only grows, so it is filled in place without clearing.
  if (grouped_.size() < size + 4) grouped_.resize(size + 4);
  uint8_t* out = grouped_.data();
  if (carried_ > 0) {
    const size_t take = std::min(4 - carried_, size);
    std::memcpy(carry_ + carried_, data, take);
    carried_ += take;
    data += take;
    size -= take;
    if (carried_ < 4) return;
    reverseGroup(carry_, out);
    out += 4;
    carried_ = 0;
  }
  for (; size >= 4; size -= 4, data += 4, out += 4) reverseGroup(data, out);
  std::memcpy(carry_, data, size);
  carried_ = size;
  const size_t bytes = size_t(out - grouped_.data());
  file_.Write(grouped_.data(), bytes);
  md5_.Update(grouped_.data(), bytes);
}

std::vector<uint8_t> ApeFileWriter::HeaderAndSeekTable() const {
  const uint32_t frames = FrameCount();
  std::vector<uint8_t> out;
  out.reserve(kHeaderBytes + 4 * size_t(seekCapacity_));
  Put16(out, info_.compressionLevel);
  Put16(out, createWavHeader_ ? kFlagCreateWavHeader : 0);
  Put32(out, kBlocksPerFrame);
  Put32(out, frames == 0 ? 0 : lastFrameBlocks_);
  Put32(out, frames);
  Put16(out, info_.bitsPerSample);
  Put16(out, info_.channels);
  Put32(out, info_.sampleRate);
  for (uint32_t entry : seekTable_) Put32(out, entry);
  out.resize(kHeaderBytes + 4 * size_t(seekCapacity_), 0);

  const uint64_t dataBytes = (streamBytes_ + 3) / 4 * 4;
  std::vector<uint8_t> descriptor;
  descriptor.reserve(kDescriptorBytes + out.size());
  for (const char c : {'M', 'A', 'C', ' '}) descriptor.push_back(uint8_t(c));
  Put16(descriptor, kFileVersion);
  Put16(descriptor, 0);
  Put32(descriptor, kDescriptorBytes);
  Put32(descriptor, kHeaderBytes);
  Put32(descriptor, 4 * seekCapacity_);
  Put32(descriptor, wavHeaderBytes_);
  Put32(descriptor, uint32_t(dataBytes));
  Put32(descriptor, uint32_t(dataBytes >> 32));
  Put32(descriptor, 0);                 // WAV tail length: set by Finish
  descriptor.resize(kDescriptorBytes);  // MD5: set by Finish
  descriptor.insert(descriptor.end(), out.begin(), out.end());
  return descriptor;
}

void ApeFileWriter::Finish(std::span<const uint8_t> terminating, uint32_t wavTerminatingBytes) {
  if (carried_ > 0) {
    const uint8_t zeros[3] = {};
    WriteGroups(zeros, 4 - carried_);
  }
  file_.Write(terminating.data(), terminating.size());
  md5_.Update(terminating.data(), wavTerminatingBytes);

  std::vector<uint8_t> head = HeaderAndSeekTable();
  for (int i = 0; i < 4; ++i) head[32 + i] = uint8_t(wavTerminatingBytes >> (8 * i));
  md5_.Update(head.data() + kDescriptorBytes, head.size() - kDescriptorBytes);
  const auto digest = md5_.Final();
  std::copy(digest.begin(), digest.end(), head.begin() + 36);

  file_.SeekToStart();
  file_.Write(head.data(), head.size());
  file_.Close();
}

}  // namespace mac
