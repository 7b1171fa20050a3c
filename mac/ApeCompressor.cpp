#include "ApeCompressor.h"

#include <algorithm>
#include <new>

#include "ApeFormat.h"
#include "MacError.h"

namespace mac {

namespace {

// Seek entries are 32-bit file offsets, so no file holds more than 4 GiB; with the length
// unknown, the seek table is reserved for that much audio.
constexpr uint64_t kMaxFileBytes = uint64_t(1) << 32;

int32_t CheckFormat(const TWaveFormatEx& f) {
  if (f.FormatTag != 1) return MAC_ERROR_BAD_PARAMETER;
  if (f.BitsPerSample != 16) return MAC_ERROR_UNSUPPORTED_BIT_DEPTH;
  if (f.Channels != 1 && f.Channels != 2) return MAC_ERROR_UNSUPPORTED_CHANNEL_COUNT;
  if (f.SamplesPerSec == 0 || f.SamplesPerSec > 0x7FFFFFFF) return MAC_ERROR_UNSUPPORTED_SAMPLE_RATE;
  if (f.BlockAlign != f.Channels * 2) return MAC_ERROR_BAD_PARAMETER;
  return MAC_ERROR_SUCCESS;
}

}  // namespace

int32_t ApeCompressor::Start(const char* utf8OutputFile, const TWaveFormatEx* format,
                             int32_t maxAudioBytes, int32_t compressionLevel,
                             const void* headerData, int32_t headerBytes) {
  if (writer_) return MAC_ERROR_BAD_PARAMETER;  // a file is still open
  if (!utf8OutputFile || !format || !IsSupportedLevel(compressionLevel) || maxAudioBytes < -1 ||
      headerBytes < -1 || (headerBytes > 0 && !headerData))
    return MAC_ERROR_BAD_PARAMETER;
  if (const int32_t r = CheckFormat(*format)) return r;

  blockAlign_ = format->BlockAlign;
  const uint64_t frameBytes = uint64_t(kBlocksPerFrame) * blockAlign_;
  const uint64_t limit = maxAudioBytes < 0 ? kMaxFileBytes : uint64_t(maxAudioBytes);
  const uint32_t seekCapacity = uint32_t((limit + frameBytes - 1) / frameBytes);

  const ApeStreamInfo info{uint16_t(compressionLevel), format->Channels, format->BitsPerSample,
                           format->SamplesPerSec};
  const auto* header = static_cast<const uint8_t*>(headerData);
  const size_t storedHeaderBytes = headerBytes > 0 ? size_t(headerBytes) : 0;
  // Allocate everything before the file exists, so a refusal leaves nothing behind.
  auto encoder = std::make_unique<FrameEncoder>(compressionLevel, format->Channels);
  frame_.assign(frameBytes, 0);
  writer_ = std::make_unique<ApeFileWriter>(
      utf8OutputFile, info, seekCapacity,
      std::span<const uint8_t>(header, storedHeaderBytes),
      headerBytes == MAC_CREATE_WAV_HEADER_ON_DECOMPRESSION);
  encoder_ = std::move(encoder);
  filled_ = 0;
  maxAudioBytes_ = maxAudioBytes;
  audioBytes_ = 0;
  error_ = 0;
  return MAC_ERROR_SUCCESS;
}

int32_t ApeCompressor::Room() const {
  int64_t room = int64_t(frame_.size() - filled_);
  if (maxAudioBytes_ >= 0) room = std::min(room, maxAudioBytes_ - audioBytes_);
  return int32_t(room);
}

uint8_t* ApeCompressor::LockBuffer(int32_t* bytesAvailable) {
  if (bytesAvailable) *bytesAvailable = 0;
  if (!writer_ || error_ || !bytesAvailable) return nullptr;
  // A full frame left by an UnlockBuffer without processing is compressed now.
  if (filled_ == frame_.size()) CompressFullFrame();
  *bytesAvailable = Room();
  return frame_.data() + filled_;
}

int32_t ApeCompressor::UnlockBuffer(int32_t bytesAdded, bool process) {
  if (!writer_) return MAC_ERROR_BAD_PARAMETER;
  if (error_) return error_;
  if (bytesAdded < 0 || size_t(bytesAdded) > frame_.size() - filled_)
    return MAC_ERROR_BAD_PARAMETER;
  if (maxAudioBytes_ >= 0 && audioBytes_ + bytesAdded > maxAudioBytes_)
    return MAC_ERROR_TOO_MUCH_DATA;
  filled_ += size_t(bytesAdded);
  audioBytes_ += bytesAdded;
  if (process && filled_ == frame_.size()) CompressFullFrame();
  // A frame that could not be written fails the call that completed it.
  return error_;
}

void ApeCompressor::CompressFullFrame() {
  try {
    const uint32_t blocks = uint32_t(filled_ / blockAlign_);
    writer_->AddFrame(encoder_->Encode(frame_.data(), blocks), blocks);
    filled_ = 0;
  } catch (const MacError& e) {
    error_ = e.code;
  } catch (const std::bad_alloc&) {
    error_ = MAC_ERROR_INSUFFICIENT_MEMORY;
  }
}

int32_t ApeCompressor::Finish(const uint8_t* terminatingData, int32_t terminatingBytes,
                              int32_t wavTerminatingBytes) {
  if (!writer_) return MAC_ERROR_BAD_PARAMETER;
  int32_t result = error_;
  if (!result) {
    // A tail that cannot be taken is left out; the audio is still completed.
    const bool tailValid = terminatingBytes >= 0 && wavTerminatingBytes >= 0 &&
                           wavTerminatingBytes <= terminatingBytes &&
                           (terminatingBytes == 0 || terminatingData);
    const std::span<const uint8_t> tail =
        tailValid ? std::span<const uint8_t>(terminatingData, size_t(terminatingBytes))
                  : std::span<const uint8_t>();
    const size_t partial = filled_ % blockAlign_;
    filled_ -= partial;  // half a sample frame cannot be stored
    if (filled_ > 0) CompressFullFrame();
    result = error_;
    if (!result) {
      try {
        writer_->Finish(tail, tailValid ? uint32_t(wavTerminatingBytes) : 0);
      } catch (const MacError& e) {
        result = e.code;
      }
    }
    if (!result && (partial > 0 || !tailValid)) result = MAC_ERROR_BAD_PARAMETER;
  }
  Abandon();
  return result;
}

void ApeCompressor::Abandon() {
  writer_.reset();
  encoder_.reset();
  frame_ = {};
  filled_ = 0;
  error_ = 0;
}

}  // namespace mac
