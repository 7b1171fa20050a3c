// libFuzzer entry for the APE compressor library's input handling: the bytes are a script of
// calls through its C functions (format, start parameters, then lock / unlock / finish with
// sizes taken from the script). Whatever the calls, the library answers with its codes and
// never faults; room offered is never exceeded by what it accepts; and a file it finishes
// without an error describes exactly the whole sample frames it accepted.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "mac/ApeFormat.h"
#include "mac/MACDll.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

class TScript {
public:
    TScript(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool More() const { return at_ < size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | Byte() << 8); }
    std::int32_t Long() { return static_cast<std::int32_t>(Word() | static_cast<std::uint32_t>(Word()) << 16); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::vector<std::uint8_t> ReadAll(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        std::uint8_t block[65536];
        std::size_t got;
        while ((got = std::fread(block, 1, sizeof block, f)) > 0)
            bytes.insert(bytes.end(), block, block + got);
        std::fclose(f);
    }
    return bytes;
}

// The container's account of the audio must match what was accepted; extraTail is the part
// of the terminating data that is not the WAV file's tail.
void CheckFinishedFile(const std::string& path, std::uint64_t blocks, int channels, std::uint64_t extraTail)
{
    const std::vector<std::uint8_t> file = ReadAll(path);
    Check(file.size() >= mac::kDescriptorBytes + mac::kHeaderBytes);
    Check(std::memcmp(file.data(), "MAC ", 4) == 0);
    const std::uint32_t descriptor = Le32(file, 8), header = Le32(file, 12), seekTable = Le32(file, 16);
    const std::uint32_t wavHeader = Le32(file, 20), frameData = Le32(file, 24), wavTail = Le32(file, 32);
    Check(descriptor == mac::kDescriptorBytes && header == mac::kHeaderBytes);
    const std::uint64_t end = std::uint64_t(descriptor) + header + seekTable + wavHeader + frameData + wavTail;
    Check(end + extraTail == file.size()); // terminating data beyond the WAV tail follows it
    const std::uint32_t finalBlocks = Le32(file, descriptor + 8), frames = Le32(file, descriptor + 12);
    const std::uint64_t stored = frames == 0 ? 0 : std::uint64_t(frames - 1) * mac::kBlocksPerFrame + finalBlocks;
    Check(stored == blocks);
    Check(file[descriptor + 18] == channels);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/dev/shm/kestrip-apefuzz-" + std::to_string(getpid()) + ".ape";
    TScript script(data, size);

    // The format: usually what the output passes (FillWaveFormatEx), sometimes raw fields.
    TWaveFormatEx format{};
    const std::uint8_t shape = script.Byte();
    if (shape & 1) {
        format.FormatTag = script.Word();
        format.Channels = script.Word();
        format.SamplesPerSec = static_cast<std::uint32_t>(script.Long());
        format.BlockAlign = script.Word();
        format.BitsPerSample = script.Word();
    } else {
        const std::int32_t channels = 1 + (shape >> 1 & 1);
        const std::int32_t bits = shape & 4 ? 8 * (1 + (shape >> 3 & 3)) : 16;
        FillWaveFormatEx(&format, 8000 + 1000 * script.Byte(), bits, channels);
    }
    static const std::int32_t levels[] = {1000, 2000, 3000, 4000, 2500, 0};
    const std::int32_t level = levels[script.Byte() % 6];
    const std::uint8_t limitKind = script.Byte();
    const std::int32_t maxAudioBytes = limitKind < 128 ? -1 : limitKind < 250 ? script.Word() : script.Long();
    std::vector<std::uint8_t> wavHeader(script.Byte() % 64, 0x52);
    const std::int32_t headerBytes = wavHeader.empty() ? MAC_CREATE_WAV_HEADER_ON_DECOMPRESSION
                                                       : static_cast<std::int32_t>(wavHeader.size());

    std::int32_t error = 0;
    void* compressor = c_APECompress_Create(&error);
    Check(compressor && error == 0);
    const std::int32_t started =
        c_APECompress_Start(compressor, path.c_str(), &format, maxAudioBytes, level, wavHeader.data(), headerBytes);
    const bool valid = format.FormatTag == 1 && format.BitsPerSample == 16 &&
                       (format.Channels == 1 || format.Channels == 2) && format.BlockAlign == 2 * format.Channels &&
                       format.SamplesPerSec > 0 && format.SamplesPerSec <= 0x7FFFFFFF && maxAudioBytes >= -1 &&
                       (level == 1000 || level == 2000 || level == 3000 || level == 4000);
    Check((started == 0) == valid);

    std::uint64_t accepted = 0;
    bool finished = false;
    for (int op = 0; op < 12 && script.More() && !finished; ++op) {
        const std::uint8_t kind = script.Byte();
        switch (kind % 4) {
        case 0:
        case 1: { // lock, fill part of the room offered, unlock
            std::int32_t room = -1;
            std::uint8_t* buffer = c_APECompress_LockBuffer(compressor, &room);
            Check(room >= 0 && (buffer != nullptr || room == 0));
            if (!buffer) {
                Check(started != 0); // only a compressor without a file has nowhere to put bytes
                break;
            }
            const std::int32_t want = script.Word();
            const std::int32_t n = want < room ? want : room;
            for (std::int32_t i = 0; i < n; ++i)
                buffer[i] = static_cast<std::uint8_t>(i * 7 + kind);
            const std::int32_t r = c_APECompress_UnlockBuffer(compressor, n, kind & 1);
            Check(r == 0);
            accepted += static_cast<std::uint64_t>(n);
            break;
        }
        case 2: { // an unlock of any size, with nothing locked
            const std::int32_t n = static_cast<std::int16_t>(script.Word());
            const std::int32_t r = c_APECompress_UnlockBuffer(compressor, n, 1);
            if (r == 0)
                accepted += static_cast<std::uint64_t>(n);
            else
                Check(r == MAC_ERROR_BAD_PARAMETER || r == MAC_ERROR_TOO_MUCH_DATA);
            break;
        }
        default: { // finish, with a tail of any description
            // A caller's buffer holds the bytes it announces; it may still pass none at all.
            const bool noBuffer = script.Byte() & 1;
            const std::int32_t tailBytes = static_cast<std::int8_t>(script.Byte());
            const std::int32_t wavTail = static_cast<std::int8_t>(script.Byte());
            std::vector<std::uint8_t> tail(static_cast<std::size_t>(tailBytes > 0 ? tailBytes : 0) + 1, 0x54);
            const std::int32_t r =
                c_APECompress_Finish(compressor, noBuffer ? nullptr : tail.data(), tailBytes, wavTail);
            if (started != 0) {
                Check(r != 0);
            } else {
                Check(r == 0 || r == MAC_ERROR_BAD_PARAMETER);
                const bool tailTaken = tailBytes >= 0 && wavTail >= 0 && wavTail <= tailBytes &&
                                       (tailBytes == 0 || !noBuffer);
                CheckFinishedFile(path, accepted / format.BlockAlign, format.Channels,
                                  tailTaken ? static_cast<std::uint64_t>(tailBytes - wavTail) : 0);
            }
            finished = true;
            break;
        }
        }
    }
    if (started == 0 && maxAudioBytes >= 0)
        Check(accepted <= static_cast<std::uint64_t>(maxAudioBytes));
    c_APECompress_Destroy(compressor);
    return 0;
}
