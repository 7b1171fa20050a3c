#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "classlib/Exception.h"

class TStream;

// Errors of the skin decompressor: only the table allocation can fail.
class ElzhException : public Exception {
    using Exception::Exception;
};

// Block callbacks of TLZH::Decode; the decoder moves one byte per call.
using TLzhBlockReader = std::function<void(void* buffer, std::uint16_t count, std::uint16_t& actual)>;
using TLzhBlockWriter = std::function<void(const void* buffer, std::uint16_t count, std::uint16_t& actual)>;

// Decoder of LZHUF streams (LZSS over a 4 KB window, adaptive Huffman code for literals and
// match lengths, a static prefix code for match offsets). The tables live only inside Decode.
class TLZH {
public:
    static constexpr int WindowSize = 4096;
    static constexpr int MaxMatch = 60;
    static constexpr int MatchThreshold = 2;
    static constexpr int SymbolCount = 256 - MatchThreshold + MaxMatch; // 314
    static constexpr int NodeCount = 2 * SymbolCount - 1;               // 627
    static constexpr int RootNode = NodeCount - 1;                      // 626
    static constexpr std::uint16_t MaxFreq = 0x8000;

    // Indexed by the next eight input bits: the upper six bits of a match offset, and the
    // length in bits of the prefix that codes them.
    static const std::array<std::uint8_t, 256> PositionCodeTable;
    static const std::array<std::uint8_t, 256> PositionLengthTable;

    TStream* InputStream = nullptr;
    TStream* OutputStream = nullptr;

    // Produces at least `size` bytes (a final match may run up to 59 bytes past it). Missing
    // input reads as zero bits; the format has no checksum.
    void Decode(std::int32_t size, const TLzhBlockWriter& writer, const TLzhBlockReader& reader);

    // Block callbacks over InputStream and OutputStream.
    void ReadBlock(void* buffer, std::uint16_t count, std::uint16_t& actual);
    void WriteBlock(const void* buffer, std::uint16_t count, std::uint16_t& actual);

private:
    struct Tables {
        std::uint8_t RingBuffer[WindowSize + MaxMatch - 1];
        std::uint16_t Freq[NodeCount + 1];
        std::int16_t Parent[NodeCount + SymbolCount];
        std::int16_t Child[NodeCount];
    };

    void StartTree();
    void RebuildTree();
    void UpdateTree(int symbol);
    int DecodeSymbol();
    int DecodePosition();
    void Refill();
    int NextBit();
    int NextByte();

    std::uint16_t BitBuffer = 0;
    std::uint8_t BitCount = 0;
    std::unique_ptr<Tables> tables_;
    const TLzhBlockReader* reader_ = nullptr;
};
