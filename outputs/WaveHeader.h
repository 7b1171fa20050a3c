#pragma once
// RIFF/WAVE headers: the two layouts this program writes, and reading the head of an
// existing file to append to it.
#include <array>
#include <cstdint>

class TStream;

enum TWavType : std::uint8_t { wtUnsupported = 0, wtPCM = 1, wtDVIADPCM = 2, wtMSADPCM = 3, wtACM = 4 };

inline constexpr std::int64_t kPcmHeaderSize = 44;
inline constexpr std::int64_t kImaHeaderSize = 60;
inline constexpr std::int64_t kRiffSizeOffset = 4;
inline constexpr std::int64_t kPcmDataSizeOffset = 40;
inline constexpr std::int64_t kImaFactCountOffset = 48;
inline constexpr std::int64_t kImaDataSizeOffset = 56;
// The most of an existing file's head that is read to find its data chunk.
inline constexpr std::int64_t kHeaderArea = 4096;

std::array<std::uint8_t, kPcmHeaderSize> MakePcmHeader(std::int32_t sampleRate, std::int32_t bitsPerSample,
                                                       std::int32_t channels, std::uint32_t dataSize);
std::array<std::uint8_t, kImaHeaderSize> MakeImaHeader(std::int32_t sampleRate, std::int32_t channels,
                                                       std::int32_t blockSize, std::uint32_t frames,
                                                       std::uint32_t dataSize);

// Four bytes against a four-character tag; bytes that differ by exactly 0x20 (letter case)
// count as equal.
bool TagEquals(const std::uint8_t* bytes, const char* tag);

// What the head of an existing file tells. Kind is wtUnsupported when the file cannot be
// appended to.
struct TWaveFileInfo {
    TWavType Kind = wtUnsupported;
    std::int32_t SampleRate = 0;
    std::uint16_t Channels = 0;
    std::uint16_t BitsPerSample = 0;
    std::uint16_t BlockAlign = 0;
    // Where the RIFF size field is: the scan also accepts a "RIFF" that is not at offset 0.
    std::int64_t RiffSizeOffset = -1;
    std::int64_t FactCountOffset = -1;
    std::uint32_t FactCount = 0;
    std::int64_t DataSizeOffset = -1;
    std::uint32_t DataSize = 0;
    std::int64_t DataStart = -1;
};

// Reads the head of the stream (from offset 0): "RIFF" and "WAVE" are searched for byte by
// byte, then chunks are walked ("fmt ", "fact" for IMA ADPCM, "data"; others skipped by
// their size). Fails when the data chunk is not found within the file and within
// kHeaderArea bytes.
TWaveFileInfo ScanWaveHeader(TStream& stream);

void PutUInt16LE(std::uint8_t* p, std::uint16_t value);
void PutUInt32LE(std::uint8_t* p, std::uint32_t value);
std::uint16_t GetUInt16LE(const std::uint8_t* p);
std::uint32_t GetUInt32LE(const std::uint8_t* p);
