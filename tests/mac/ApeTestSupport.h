#pragma once
// Helpers for the APE tests: feeding PCM to the compressor library the way an output does,
// reading back the container fields, and checking files with ffmpeg (natively) or leaving
// them for the follow-up check (under Wine, where ffmpeg cannot run).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mac/MACDll.h"

namespace apetest {

using Bytes = std::vector<std::uint8_t>;

// Container fields of a version 3990 file, read independently of the library's writer.
struct ApeFileInfo {
    std::uint16_t version = 0;
    std::uint32_t descriptorBytes = 0, headerBytes = 0, seekTableBytes = 0;
    std::uint32_t wavHeaderBytes = 0, frameDataBytes = 0, wavTailBytes = 0;
    std::array<std::uint8_t, 16> md5{};
    std::uint16_t level = 0, formatFlags = 0;
    std::uint32_t blocksPerFrame = 0, finalFrameBlocks = 0, totalFrames = 0;
    std::uint16_t bitsPerSample = 0, channels = 0;
    std::uint32_t sampleRate = 0;
    std::vector<std::uint32_t> seekTable;  // all stored entries
    std::uint32_t firstFrame = 0;
    // MD5 over stored WAV header, frame data, WAV tail, header and seek table.
    std::array<std::uint8_t, 16> computedMd5{};
};
ApeFileInfo ReadApeFile(const Bytes& file);

struct EncodeOptions {
    int level = 2000;
    int channels = 2;
    std::int32_t maxAudioBytes = MAC_MAX_AUDIO_BYTES_UNKNOWN;
    std::size_t readSize = 65536;  // bytes handed over per "read", as an output does
    const Bytes* wavHeader = nullptr;
    const Bytes* tail = nullptr;   // WAV terminating data
};
// Compresses pcm into path through the library's C functions; returns Finish's result
// (or the first failing call's). Fails the current test on an unexpected refusal.
// (ApeEncodeFile.cpp; needs the library linked.)
std::int32_t EncodeFile(const std::string& path, const Bytes& pcm, const EncodeOptions& options);

// Checks that `apePath` decodes to exactly `pcm`: natively with ffmpeg (CRC checking on),
// under Wine by leaving `pcm` beside it as <apePath>.raw for check-ape-folder.sh.
void ExpectDecodesTo(const std::string& apePath, const Bytes& pcm);

#ifndef _WIN32
// ffmpeg's decoding of the file, or nothing if it failed; `log` gets ffmpeg's messages.
std::optional<Bytes> DecodeWithFfmpeg(const std::string& apePath, std::string* log = nullptr);
#endif


// The corpus folder (KESTRIP_CORPUS_DIR), or empty when it has not been built.
std::string CorpusFolder();
// The PCM of a 16-bit WAV file; empty when it cannot be read.
Bytes ReadWavPcm(const std::string& path);

// Deterministic content that exercises the coder's extremes: silence, full-scale noise and
// square waves, a spike, identical channels.
Bytes MakeHardSignal(std::size_t frames, int channels, std::uint32_t seed);
// One channel of interleaved stereo.
Bytes LeftChannel(const Bytes& stereo);

}  // namespace apetest
