#include "FrameEncoder.h"

#include <bit>
#include <cstring>

#include "ApeFormat.h"
#include "Checksums.h"

namespace mac {

static_assert(std::endian::native == std::endian::little, "PCM is read in place as little-endian");

namespace {

int16_t Sample(const uint8_t* pcm, size_t index) {
  int16_t s;
  std::memcpy(&s, pcm + 2 * index, 2);
  return s;
}

void AppendBigEndian32(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v >> 24));
  out.push_back(uint8_t(v >> 16));
  out.push_back(uint8_t(v >> 8));
  out.push_back(uint8_t(v));
}

enum class FrameKind { Normal, Silence, PseudoStereo };

FrameKind Classify(const uint8_t* pcm, uint32_t blocks, int channels) {
  bool silent = true;
  bool sameChannels = channels == 2;
  for (uint32_t i = 0; i < blocks && (silent || sameChannels); ++i) {
    const int16_t first = Sample(pcm, size_t(i) * channels);
    const int16_t second = channels == 2 ? Sample(pcm, size_t(i) * 2 + 1) : 0;
    silent = silent && first == 0 && second == 0;
    sameChannels = sameChannels && first == second;
  }
  if (silent) return FrameKind::Silence;
  return sameChannels ? FrameKind::PseudoStereo : FrameKind::Normal;
}

}  // namespace

FrameEncoder::FrameEncoder(int compressionLevel, int channels) : channels_(channels) {
  for (auto& channelFilters : filters_)
    for (const NNFilterSpec& spec : EncoderFilters(compressionLevel))
      channelFilters.emplace_back(spec.order, spec.fractionBits);
}

void FrameEncoder::Encode(const uint8_t* pcm, uint32_t blocks, std::vector<uint8_t>& out) {
  const uint32_t crc = Crc32(pcm, size_t(blocks) * channels_ * 2) >> 1;
  const FrameKind kind = Classify(pcm, blocks, channels_);
  if (kind == FrameKind::Normal) {
    AppendBigEndian32(out, crc);
  } else {
    AppendBigEndian32(out, crc | 0x80000000u);
    if (kind == FrameKind::PseudoStereo)
      AppendBigEndian32(out, kFramePseudoStereo);
    else
      AppendBigEndian32(out, channels_ == 2 ? kFrameStereoSilence : kFrameMonoSilence);
  }

  RangeEncoder coder(out);  // its first byte is the one decoders skip
  for (auto& c : coders_) c.Reset();
  if (kind == FrameKind::Normal && channels_ == 2)
    EncodeStereo(pcm, blocks, coder);
  else if (kind != FrameKind::Silence)
    EncodeMono(pcm, blocks, channels_, coder);
  coder.Finish();
}

void FrameEncoder::Filter(int channel, int32_t* data, uint32_t count) {
  for (NNFilter& f : filters_[channel]) {
    f.Reset();
    f.Apply(data, count);
  }
}

void FrameEncoder::EncodeStereo(const uint8_t* pcm, uint32_t blocks, RangeEncoder& coder) {
  residuals_[0].resize(blocks);
  residuals_[1].resize(blocks);
  int32_t* const y = residuals_[0].data();
  int32_t* const x = residuals_[1].data();
  stereo_.Reset();
  for (uint32_t i = 0; i < blocks; ++i) {
    const int32_t left = Sample(pcm, 2 * size_t(i));
    const int32_t right = Sample(pcm, 2 * size_t(i) + 1);
    const int32_t side = right - left;
    const int32_t mid = left + side / 2;  // truncating division, as the decoder inverts it
    stereo_.Encode(side, mid, y[i], x[i]);
  }
  Filter(0, y, blocks);
  Filter(1, x, blocks);
  for (uint32_t i = 0; i < blocks; ++i) {
    coders_[0].Encode(coder, y[i]);
    coders_[1].Encode(coder, x[i]);
  }
}

void FrameEncoder::EncodeMono(const uint8_t* pcm, uint32_t blocks, int stride,
                              RangeEncoder& coder) {
  residuals_[0].resize(blocks);
  int32_t* const r = residuals_[0].data();
  mono_.Reset();
  for (uint32_t i = 0; i < blocks; ++i) r[i] = mono_.Encode<false>(Sample(pcm, size_t(i) * stride), 0);
  Filter(0, r, blocks);
  for (uint32_t i = 0; i < blocks; ++i) coders_[0].Encode(coder, r[i]);
}

}  // namespace mac
