#include "WaveOutFileReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

namespace wavetest {

namespace {

const int kSteps[89] = {7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,
                        25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,
                        88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,   253,   279,
                        307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,   876,   963,
                        1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749,  3024,  3327,
                        3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493,  10442, 11487,
                        12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

struct TDecoderChannel {
    TImaDiff form = TImaDiff::Shifts;
    int predictor = 0;
    int index = 0;

    std::int16_t Next(int nibble)
    {
        const int step = kSteps[index];
        int diff = 0;
        if (form == TImaDiff::Multiply) {
            diff = ((2 * (nibble & 7) + 1) * step) >> 3;
        } else {
            diff = step >> 3;
            if (nibble & 1)
                diff += step >> 2;
            if (nibble & 2)
                diff += step >> 1;
            if (nibble & 4)
                diff += step;
        }
        predictor += (nibble & 8) ? -diff : diff;
        predictor = std::clamp(predictor, -32768, 32767);
        static const int kIndexChange[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
        index = std::clamp(index + kIndexChange[nibble & 7], 0, 88);
        return static_cast<std::int16_t>(predictor);
    }
};

bool Tag(const std::vector<std::uint8_t>& file, std::size_t offset, const char* tag)
{
    return offset + 4 <= file.size() && std::memcmp(&file[offset], tag, 4) == 0;
}

std::uint16_t LE16(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

} // namespace

std::uint32_t LE32(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    return static_cast<std::uint32_t>(bytes[offset]) | (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) | (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

TWavFields ReadWavFields(const std::vector<std::uint8_t>& file)
{
    TWavFields fields;
    if (!Tag(file, 0, "RIFF") || !Tag(file, 8, "WAVE")) {
        ADD_FAILURE() << "not a RIFF/WAVE file";
        return fields;
    }
    fields.RiffSize = LE32(file, 4);
    std::size_t pos = 12;
    while (pos + 8 <= file.size()) {
        const std::uint32_t size = LE32(file, pos + 4);
        const std::size_t body = pos + 8;
        if (Tag(file, pos, "data")) {
            fields.DataSize = size;
            fields.DataStart = body;
            return fields;
        }
        if (body + size > file.size())
            break;
        if (Tag(file, pos, "fmt ")) {
            fields.FormatTag = LE16(file, body);
            fields.Channels = LE16(file, body + 2);
            fields.SampleRate = LE32(file, body + 4);
            fields.BytesPerSecond = LE32(file, body + 8);
            fields.BlockAlign = LE16(file, body + 12);
            fields.BitsPerSample = LE16(file, body + 14);
            if (size >= 20)
                fields.SamplesPerBlock = LE16(file, body + 18);
        } else if (Tag(file, pos, "fact")) {
            fields.HasFact = true;
            fields.FactCount = LE32(file, body);
        }
        pos = body + size + (size & 1);
    }
    ADD_FAILURE() << "no data chunk";
    return fields;
}

std::vector<std::int16_t> DecodeImaBlock(const std::uint8_t* block, std::size_t blockSize, int channels, TImaDiff form)
{
    const std::size_t perChannel = 1 + (blockSize - 4 * channels) * 2 / channels;
    std::vector<std::int16_t> out(perChannel * channels);
    std::vector<TDecoderChannel> state(channels, TDecoderChannel{form});
    for (int ch = 0; ch < channels; ++ch) {
        const std::uint8_t* header = block + 4 * ch;
        state[ch].predictor = static_cast<std::int16_t>(header[0] | (header[1] << 8));
        state[ch].index = std::min<int>(header[2], 88);
        out[ch] = static_cast<std::int16_t>(state[ch].predictor);
    }
    const std::uint8_t* data = block + 4 * channels;
    if (channels == 1) {
        for (std::size_t i = 0; i + 1 < perChannel; ++i) {
            const int byte = data[i / 2];
            out[i + 1] = state[0].Next(i % 2 == 0 ? byte & 0x0F : byte >> 4);
        }
        return out;
    }
    // Interleaved: 4 bytes (8 samples) of each channel in turn.
    std::size_t frame = 1;
    for (std::size_t offset = 0; offset + 4 * channels <= blockSize - 4 * channels; offset += 4 * channels) {
        for (int ch = 0; ch < channels; ++ch) {
            for (int k = 0; k < 8; ++k) {
                const int byte = data[offset + 4 * ch + k / 2];
                out[(frame + k) * channels + ch] = state[ch].Next(k % 2 == 0 ? byte & 0x0F : byte >> 4);
            }
        }
        frame += 8;
    }
    return out;
}

std::vector<std::int16_t> DecodeImaData(const std::vector<std::uint8_t>& file, TImaDiff form)
{
    const TWavFields fields = ReadWavFields(file);
    std::vector<std::int16_t> out;
    if (fields.FormatTag != 0x11 || fields.BlockAlign == 0) {
        ADD_FAILURE() << "not an IMA ADPCM file";
        return out;
    }
    const std::size_t end = std::min<std::size_t>(file.size(), fields.DataStart + fields.DataSize);
    for (std::size_t pos = fields.DataStart; pos + fields.BlockAlign <= end; pos += fields.BlockAlign) {
        const auto block = DecodeImaBlock(&file[pos], fields.BlockAlign, fields.Channels, form);
        out.insert(out.end(), block.begin(), block.end());
    }
    return out;
}

std::vector<std::int16_t> ToSamples(const std::vector<std::uint8_t>& pcmBytes)
{
    std::vector<std::int16_t> samples(pcmBytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(pcmBytes[2 * i] | (pcmBytes[2 * i + 1] << 8));
    return samples;
}

std::vector<std::uint8_t> ToBytes(const std::vector<std::int16_t>& samples)
{
    std::vector<std::uint8_t> bytes(samples.size() * 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const auto v = static_cast<std::uint16_t>(samples[i]);
        bytes[2 * i] = static_cast<std::uint8_t>(v & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    return bytes;
}

double SnrDb(const std::vector<std::int16_t>& original, const std::vector<std::int16_t>& decoded, std::size_t count)
{
    double signal = 0, noise = 0;
    for (std::size_t i = 0; i < count && i < original.size() && i < decoded.size(); ++i) {
        const double s = original[i];
        const double e = s - decoded[i];
        signal += s * s;
        noise += e * e;
    }
    if (noise == 0)
        return 200.0;
    return 10.0 * std::log10(signal / noise);
}

} // namespace wavetest
