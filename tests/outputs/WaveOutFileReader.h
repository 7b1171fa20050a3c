#pragma once
// Test-side reading of WAV files: the header fields the tests check, and a plain IMA ADPCM
// decoder written from the format's description (independent of the encoder under test).
#include <cstdint>
#include <string>
#include <vector>

namespace wavetest {

struct TWavFields {
    std::uint32_t RiffSize = 0;
    std::uint16_t FormatTag = 0;
    std::uint16_t Channels = 0;
    std::uint32_t SampleRate = 0;
    std::uint32_t BytesPerSecond = 0;
    std::uint16_t BlockAlign = 0;
    std::uint16_t BitsPerSample = 0;
    std::uint16_t SamplesPerBlock = 0; // IMA ADPCM only
    bool HasFact = false;
    std::uint32_t FactCount = 0;
    std::uint32_t DataSize = 0;
    std::size_t DataStart = 0;
};

// Walks the chunks of a RIFF/WAVE file; fails the calling test (and returns defaults) when
// the file is not one.
TWavFields ReadWavFields(const std::vector<std::uint8_t>& file);

std::uint32_t LE32(const std::vector<std::uint8_t>& bytes, std::size_t offset);

// How a code becomes a difference: by adding shifted steps, as the encoder predicts, or as
// (2 x magnitude + 1) x step / 8, the more precise form that ffmpeg decodes with.
enum class TImaDiff { Shifts, Multiply };

// Decodes every block of the data chunk; interleaved samples.
std::vector<std::int16_t> DecodeImaData(const std::vector<std::uint8_t>& file, TImaDiff form = TImaDiff::Shifts);

// Decodes one block of `channels` channels.
std::vector<std::int16_t> DecodeImaBlock(const std::uint8_t* block, std::size_t blockSize, int channels,
                                         TImaDiff form = TImaDiff::Shifts);

std::vector<std::int16_t> ToSamples(const std::vector<std::uint8_t>& pcmBytes);
std::vector<std::uint8_t> ToBytes(const std::vector<std::int16_t>& samples);

// Signal-to-noise ratio of `decoded` against `original` over the first `count` samples, in dB.
double SnrDb(const std::vector<std::int16_t>& original, const std::vector<std::int16_t>& decoded, std::size_t count);

} // namespace wavetest
