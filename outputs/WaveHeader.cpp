#include "WaveHeader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "WaveImaAdpcm.h"
#include "classlib/FileStream.h"

void PutUInt16LE(std::uint8_t* p, std::uint16_t value)
{
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutUInt32LE(std::uint8_t* p, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint16_t GetUInt16LE(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t GetUInt32LE(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

namespace {

void PutTag(std::uint8_t* p, const char* tag) { std::memcpy(p, tag, 4); }

} // namespace

std::array<std::uint8_t, kPcmHeaderSize> MakePcmHeader(std::int32_t sampleRate, std::int32_t bitsPerSample,
                                                       std::int32_t channels, std::uint32_t dataSize)
{
    const auto blockAlign = static_cast<std::uint16_t>((bitsPerSample * channels) >> 3);
    std::array<std::uint8_t, kPcmHeaderSize> h{};
    PutTag(&h[0], "RIFF");
    PutUInt32LE(&h[4], dataSize + 36);
    PutTag(&h[8], "WAVE");
    PutTag(&h[12], "fmt ");
    PutUInt32LE(&h[16], 16);
    PutUInt16LE(&h[20], 1);
    PutUInt16LE(&h[22], static_cast<std::uint16_t>(channels));
    PutUInt32LE(&h[24], static_cast<std::uint32_t>(sampleRate));
    PutUInt32LE(&h[28], static_cast<std::uint32_t>(sampleRate) * blockAlign);
    PutUInt16LE(&h[32], blockAlign);
    PutUInt16LE(&h[34], static_cast<std::uint16_t>(bitsPerSample));
    PutTag(&h[36], "data");
    PutUInt32LE(&h[40], dataSize);
    return h;
}

std::array<std::uint8_t, kImaHeaderSize> MakeImaHeader(std::int32_t sampleRate, std::int32_t channels,
                                                       std::int32_t blockSize, std::uint32_t frames,
                                                       std::uint32_t dataSize)
{
    const std::int32_t samplesPerBlock = ImaSamplesPerBlock(blockSize, channels);
    std::array<std::uint8_t, kImaHeaderSize> h{};
    PutTag(&h[0], "RIFF");
    PutUInt32LE(&h[4], dataSize + 52);
    PutTag(&h[8], "WAVE");
    PutTag(&h[12], "fmt ");
    PutUInt32LE(&h[16], 20);
    PutUInt16LE(&h[20], 0x11);
    PutUInt16LE(&h[22], static_cast<std::uint16_t>(channels));
    PutUInt32LE(&h[24], static_cast<std::uint32_t>(sampleRate));
    PutUInt32LE(&h[28], static_cast<std::uint32_t>(sampleRate / samplesPerBlock * blockSize));
    PutUInt16LE(&h[32], static_cast<std::uint16_t>(blockSize));
    PutUInt16LE(&h[34], 4);
    PutUInt16LE(&h[36], 2);
    PutUInt16LE(&h[38], static_cast<std::uint16_t>(samplesPerBlock));
    PutTag(&h[40], "fact");
    PutUInt32LE(&h[44], 4);
    PutUInt32LE(&h[48], frames);
    PutTag(&h[52], "data");
    PutUInt32LE(&h[56], dataSize);
    return h;
}

bool TagEquals(const std::uint8_t* bytes, const char* tag)
{
    for (int i = 0; i < 4; ++i) {
        const int a = bytes[i];
        const int b = static_cast<unsigned char>(tag[i]);
        if (a != b && a - b != 0x20 && b - a != 0x20)
            return false;
    }
    return true;
}

namespace {

// The head of the file, read once; every look beyond what was read fails the scan.
class THeaderArea {
public:
    explicit THeaderArea(TStream& stream)
    {
        const std::int64_t length = stream.Size();
        bytes_.resize(static_cast<std::size_t>(std::clamp<std::int64_t>(length, 0, kHeaderArea)));
        stream.Seek(0, TSeekOrigin::soBeginning);
        const std::int64_t got = stream.Read(bytes_.data(), static_cast<std::int64_t>(bytes_.size()));
        bytes_.resize(static_cast<std::size_t>(std::max<std::int64_t>(got, 0)));
    }

    bool Has(std::int64_t offset, std::int64_t count) const
    {
        return offset >= 0 && count >= 0 && offset + count <= static_cast<std::int64_t>(bytes_.size());
    }
    const std::uint8_t* At(std::int64_t offset) const { return bytes_.data() + offset; }

private:
    std::vector<std::uint8_t> bytes_;
};

// Where the chunk that starts at `body` with `size` bytes ends; odd chunks carry a pad byte.
std::int64_t ChunkEnd(std::int64_t body, std::uint32_t size) { return body + size + (size & 1); }

} // namespace

TWaveFileInfo ScanWaveHeader(TStream& stream)
{
    const THeaderArea area(stream);
    TWaveFileInfo info;
    const TWaveFileInfo failed;

    // "RIFF" and then "WAVE": a window of four bytes slides over the head one byte at a time.
    std::int64_t pos = 0;
    for (const char* tag : {"RIFF", "WAVE"}) {
        while (true) {
            if (!area.Has(pos, 4))
                return failed;
            if (TagEquals(area.At(pos), tag))
                break;
            ++pos;
        }
        if (info.RiffSizeOffset < 0) {
            // "WAVE" is looked for after the size field, which is patched when appending.
            info.RiffSizeOffset = pos + 4;
            pos += 4;
        }
        pos += 4;
    }

    enum class TLookFor { fmt, fact, data };
    TLookFor lookFor = TLookFor::fmt;
    TWavType kind = wtUnsupported;
    while (true) {
        if (!area.Has(pos, 8))
            return failed;
        const std::uint8_t* tag = area.At(pos);
        const std::uint32_t size = GetUInt32LE(area.At(pos + 4));
        const std::int64_t body = pos + 8;

        if (lookFor == TLookFor::data && TagEquals(tag, "data")) {
            info.Kind = kind;
            info.DataSizeOffset = pos + 4;
            info.DataSize = size;
            info.DataStart = body;
            return info;
        }
        if (!area.Has(body, size))
            return failed;
        if (lookFor == TLookFor::fmt && TagEquals(tag, "fmt ")) {
            if (size < 16)
                return failed;
            const std::uint8_t* fmt = area.At(body);
            const std::uint16_t formatTag = GetUInt16LE(fmt);
            if (formatTag == 1)
                kind = wtPCM;
            else if (formatTag == 0x11)
                kind = wtDVIADPCM;
            else
                return failed;
            info.Channels = GetUInt16LE(fmt + 2);
            info.SampleRate = static_cast<std::int32_t>(GetUInt32LE(fmt + 4));
            info.BlockAlign = GetUInt16LE(fmt + 12);
            info.BitsPerSample = GetUInt16LE(fmt + 14);
            lookFor = kind == wtDVIADPCM ? TLookFor::fact : TLookFor::data;
        } else if (lookFor == TLookFor::fact && TagEquals(tag, "fact")) {
            if (size < 4)
                return failed;
            info.FactCountOffset = body;
            info.FactCount = GetUInt32LE(area.At(body));
            lookFor = TLookFor::data;
        }
        // Any other chunk is skipped by its size.
        pos = ChunkEnd(body, size);
    }
}
