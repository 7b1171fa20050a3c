#include "WaveImaAdpcm.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::int32_t, 89> kStepTable = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

constexpr std::array<std::int32_t, 16> kIndexTable = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

// Quantises one sample against the channel's prediction and moves the prediction on.
std::uint8_t EncodeSample(std::int32_t sample, std::int32_t& predictor, std::int32_t& stepIndex)
{
    const std::int32_t step = kStepTable[static_cast<std::size_t>(stepIndex)];
    std::int32_t diff = sample - predictor;
    std::uint8_t code = 0;
    if (diff < 0) {
        code = 8;
        diff = -diff;
    }
    if (diff >= step) {
        code |= 4;
        diff -= step;
    }
    if (diff >= step >> 1) {
        code |= 2;
        diff -= step >> 1;
    }
    if (diff >= step >> 2)
        code |= 1;

    std::int32_t delta = step >> 3;
    if (code & 4)
        delta += step;
    if (code & 2)
        delta += step >> 1;
    if (code & 1)
        delta += step >> 2;
    if (code & 8)
        delta = -delta;
    predictor = std::clamp(predictor + delta, -32767, 32767);
    stepIndex = std::clamp(stepIndex + kIndexTable[code], 0, 88);
    return code;
}

void PutNibble(std::uint8_t* bytes, std::size_t codeIndex, std::uint8_t code)
{
    std::uint8_t& byte = bytes[codeIndex / 2];
    if (codeIndex % 2 == 0)
        byte = static_cast<std::uint8_t>((byte & 0xF0) | code);
    else
        byte = static_cast<std::uint8_t>((byte & 0x0F) | (code << 4));
}

} // namespace

std::int32_t ImaSamplesPerBlock(std::int32_t blockSize, std::int32_t channels)
{
    return (2 / channels) * (blockSize - 4 * channels) + 1;
}

std::optional<std::string> ImaLayoutProblem(std::int32_t blockSize, std::int32_t channels)
{
    if (channels < 1 || channels > 2)
        return "Cannot encode " + std::to_string(channels) + " channels into ADPCM (1 or 2 are possible).";
    const bool fits = blockSize > 4 * channels && (channels == 1 || blockSize % 8 == 0) &&
                      ImaSamplesPerBlock(blockSize, channels) <= 0xFFFF;
    if (!fits)
        return "ADPCM block size " + std::to_string(blockSize) + " is not possible with " + std::to_string(channels) +
               (channels == 1 ? " channel." : " channels.");
    return std::nullopt;
}

void EncodeImaBlock(const std::int16_t* frames, std::int32_t channels, std::int32_t blockSize,
                    TImaChannelState* states, std::uint8_t* block)
{
    std::fill(block, block + blockSize, std::uint8_t{0});
    const std::int32_t samplesPerBlock = ImaSamplesPerBlock(blockSize, channels);
    std::uint8_t* codes = block + 4 * channels;
    for (std::int32_t ch = 0; ch < channels; ++ch) {
        TImaChannelState& state = states[ch];
        state.Predictor = frames[ch];
        std::uint8_t* header = block + 4 * ch;
        const auto first = static_cast<std::uint16_t>(state.Predictor);
        header[0] = static_cast<std::uint8_t>(first & 0xFF);
        header[1] = static_cast<std::uint8_t>(first >> 8);
        header[2] = state.StepIndex;
        header[3] = 0;

        std::int32_t predictor = state.Predictor;
        std::int32_t stepIndex = state.StepIndex;
        for (std::int32_t k = 1; k < samplesPerBlock; ++k) {
            const std::uint8_t code = EncodeSample(frames[k * channels + ch], predictor, stepIndex);
            const auto j = static_cast<std::size_t>(k - 1);
            if (channels == 1) {
                PutNibble(codes, j, code);
            } else {
                // Groups of 8 codes (4 bytes) alternate between the channels.
                const std::size_t group = j / 8;
                PutNibble(codes + (group * 2 + static_cast<std::size_t>(ch)) * 4, j % 8, code);
            }
        }
        state.Predictor = static_cast<std::int16_t>(predictor);
        state.StepIndex = static_cast<std::uint8_t>(stepIndex);
    }
}
