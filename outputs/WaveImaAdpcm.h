#pragma once
// IMA ADPCM (DVI, 4 bits per sample) block encoding as stored in WAVE files.
#include <cstdint>
#include <optional>
#include <string>

// Encoder state of one channel; the step index is carried from block to block.
struct TImaChannelState {
    std::int16_t Predictor = 0;
    std::uint8_t StepIndex = 0;
};

// Samples per channel that one block of blockSize bytes carries (header sample included).
std::int32_t ImaSamplesPerBlock(std::int32_t blockSize, std::int32_t channels);

// Why a block layout cannot be encoded, or nothing when it can. Mono needs more than 4
// bytes per block; stereo more than 8 and a multiple of 8 (codes travel in 4-byte groups per
// channel); the samples per block must fit the header's 16-bit field.
std::optional<std::string> ImaLayoutProblem(std::int32_t blockSize, std::int32_t channels);

// Encodes one block from ImaSamplesPerBlock() interleaved frames of 16-bit samples (1 or 2
// channels). Each channel's predictor starts at the block's first sample; the step index
// goes on from `states` and is left there for the next block.
void EncodeImaBlock(const std::int16_t* frames, std::int32_t channels, std::int32_t blockSize,
                    TImaChannelState* states, std::uint8_t* block);
