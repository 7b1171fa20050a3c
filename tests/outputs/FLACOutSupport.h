#pragma once
// Helpers of the FLAC output tests: a logging copy of the libFLAC table, the stream header
// as the file holds it, and the check of a file by the flac tools.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "outputs/FLACBinding.h"

namespace flactest {

struct Call {
    std::string name; // the entry point without "FLAC__stream_encoder_"
    std::uint64_t value;
    bool operator==(const Call&) const = default;
};

// The real libFLAC table with the setters, init_stream and process_interleaved logging
// each call (name and value; frames for process_interleaved) before passing it on.
TFLACEncoderApi LoggingApi();
std::vector<Call> Calls();
void ClearCalls();
// The calls named `name`, in order.
std::vector<std::uint64_t> ValuesOf(const std::string& name);

struct StreamInfo {
    std::uint32_t sampleRate = 0;
    unsigned channels = 0;
    unsigned bitsPerSample = 0;
    std::uint64_t totalSamples = 0;
    std::array<std::uint8_t, 16> md5{};
    // Offset of the first audio frame: the end of the last metadata block.
    std::size_t audioOffset = 0;
};
// Parses the "fLaC" marker, STREAMINFO and the metadata block chain; raises on a malformed head.
StreamInfo ReadStreamInfo(const std::vector<std::uint8_t>& file);

// The samples as FLAC sees them: signed little-endian (8-bit PCM is unsigned).
std::vector<std::uint8_t> SignedPcm(const std::vector<std::uint8_t>& pcm, int bitsPerSample);

// Leaves `signedPcm` beside `flacFile` as <flacFile>.expected.raw, the reference of
// FLACOutCheck.sh. Natively it also runs the script at once and returns its verdict and
// report; in the Windows build a follow-up test runs it, and this returns true.
bool ToolsAccept(const std::string& flacFile, const std::vector<std::uint8_t>& signedPcm, std::string* report);

} // namespace flactest
