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

void PutBigEndian32(uint8_t* out, uint32_t v) {
  out[0] = uint8_t(v >> 24);
  out[1] = uint8_t(v >> 16);
  out[2] = uint8_t(v >> 8);
  out[3] = uint8_t(v);
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

FrameEncoder::FrameEncoder(int compressionLevel, int channels, SimdLevel simd)
    : channels_(channels) {
  for (auto& channelFilters : filters_)
    for (const NNFilterSpec& spec : EncoderFilters(compressionLevel))
      channelFilters.emplace_back(spec.order, spec.fractionBits, simd);
}

std::span<const uint8_t> FrameEncoder::Encode(const uint8_t* pcm, uint32_t blocks) {
  const uint32_t crc = Crc32(pcm, size_t(blocks) * channels_ * 2) >> 1;
  const FrameKind kind = Classify(pcm, blocks, channels_);
  const size_t header = kind == FrameKind::Normal ? 4 : 8;
  size_t end;
  if (kind == FrameKind::Normal && channels_ == 2)
    end = EncodeStereo(pcm, blocks, header);
  else if (kind != FrameKind::Silence)
    end = EncodeMono(pcm, blocks, channels_, header);
  else
    end = RangeEncoder(out_, header).Finish();

  // After the coder, which uses the bytes before its start as scratch.
  if (kind == FrameKind::Normal) {
    PutBigEndian32(out_.data(), crc);
  } else {
    PutBigEndian32(out_.data(), crc | 0x80000000u);
    PutBigEndian32(out_.data() + 4, kind == FrameKind::PseudoStereo ? kFramePseudoStereo
                                    : channels_ == 2               ? kFrameStereoSilence
                                                                   : kFrameMonoSilence);
  }
  return {out_.data(), end};
}

void FrameEncoder::Filter(int channel, int32_t* data, uint32_t count) {
  for (NNFilter& f : filters_[channel]) {
    f.Reset();
    f.Apply(data, count);
  }
}

size_t FrameEncoder::EncodeStereo(const uint8_t* pcm, uint32_t blocks, size_t start) {
  residuals_[0].resize(blocks);
  residuals_[1].resize(blocks);
  int32_t* const y = residuals_[0].data();
  int32_t* const x = residuals_[1].data();
  StereoPredictor stereo;
  stereo.Reset();
  for (uint32_t i = 0; i < blocks; ++i) {
    const int32_t left = Sample(pcm, 2 * size_t(i));
    const int32_t right = Sample(pcm, 2 * size_t(i) + 1);
    const int32_t side = right - left;
    const int32_t mid = left + side / 2;  // truncating division, as the decoder inverts it
    stereo.Encode(side, mid, y[i], x[i]);
  }
  // Stage by stage, the two channels' filters side by side.
  for (size_t k = 0; k < filters_[0].size(); ++k) {
    filters_[0][k].Reset();
    filters_[1][k].Reset();
    NNFilter::ApplyPair(filters_[0][k], y, filters_[1][k], x, blocks);
  }
  RangeEncoder coder(out_, start);
  ResidualCoder coderY, coderX;
  for (uint32_t i = 0; i < blocks; ++i) {
    coderY.Encode(coder, y[i]);
    coderX.Encode(coder, x[i]);
  }
  return coder.Finish();
}

size_t FrameEncoder::EncodeMono(const uint8_t* pcm, uint32_t blocks, int stride, size_t start) {
  residuals_[0].resize(blocks);
  int32_t* const r = residuals_[0].data();
  ChannelPredictor mono;
  mono.Reset();
  for (uint32_t i = 0; i < blocks; ++i) r[i] = mono.Encode<false>(Sample(pcm, size_t(i) * stride), 0);
  Filter(0, r, blocks);
  RangeEncoder coder(out_, start);
  ResidualCoder residualCoder;
  for (uint32_t i = 0; i < blocks; ++i) residualCoder.Encode(coder, r[i]);
  return coder.Finish();
}

}  // namespace mac
