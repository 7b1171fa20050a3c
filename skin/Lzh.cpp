#include "skin/Lzh.h"

#include <array>
#include <cstring>
#include <new>

#include "classlib/Stream.h"

namespace {

// Rows of the offset prefix code: the upper six bits of an offset get a prefix of `length`
// bits, `bytes` look-ahead bytes per value.
struct PositionRow {
    int firstByte, lastByte, bytes, length;
};
constexpr PositionRow kPositionRows[] = {
    {0x00, 0x1F, 32, 3}, {0x20, 0x4F, 16, 4}, {0x50, 0x8F, 8, 5},
    {0x90, 0xBF, 4, 6},  {0xC0, 0xEF, 2, 7},  {0xF0, 0xFF, 1, 8},
};

constexpr std::array<std::uint8_t, 256> MakePositionTable(bool lengths)
{
    std::array<std::uint8_t, 256> table{};
    int upper = 0;
    for (const auto& row : kPositionRows)
        for (int b = row.firstByte; b <= row.lastByte; b += row.bytes, ++upper)
            for (int i = 0; i < row.bytes; ++i)
                table[b + i] = static_cast<std::uint8_t>(lengths ? row.length : upper);
    return table;
}

static_assert(MakePositionTable(false)[0x2F] == 1 && MakePositionTable(false)[0x30] == 2 &&
              MakePositionTable(false)[0x4F] == 3 && MakePositionTable(false)[0xFF] == 63);
static_assert(MakePositionTable(true)[0x1F] == 3 && MakePositionTable(true)[0xF0] == 8);

} // namespace

const std::array<std::uint8_t, 256> TLZH::PositionCodeTable = MakePositionTable(false);
const std::array<std::uint8_t, 256> TLZH::PositionLengthTable = MakePositionTable(true);

void TLZH::ReadBlock(void* buffer, std::uint16_t count, std::uint16_t& actual)
{
    actual = count;
    const std::int64_t remaining = InputStream->Size() - InputStream->Position();
    if (remaining < count)
        actual = static_cast<std::uint16_t>(remaining < 0 ? 0 : remaining);
    InputStream->ReadBuffer(buffer, actual);
}

void TLZH::WriteBlock(const void* buffer, std::uint16_t count, std::uint16_t& actual)
{
    actual = count;
    OutputStream->WriteBuffer(buffer, count);
}

void TLZH::Refill()
{
    while (BitCount <= 8) {
        std::uint8_t byte = 0;
        std::uint16_t got = 0;
        (*reader_)(&byte, 1, got);
        if (got != 1)
            byte = 0;
        BitBuffer = static_cast<std::uint16_t>(BitBuffer | (byte << (8 - BitCount)));
        BitCount = static_cast<std::uint8_t>(BitCount + 8);
    }
}

int TLZH::NextBit()
{
    Refill();
    const int bit = BitBuffer >> 15;
    BitBuffer = static_cast<std::uint16_t>(BitBuffer << 1);
    --BitCount;
    return bit;
}

int TLZH::NextByte()
{
    Refill();
    const int byte = BitBuffer >> 8;
    BitBuffer = static_cast<std::uint16_t>(BitBuffer << 8);
    BitCount = static_cast<std::uint8_t>(BitCount - 8);
    return byte;
}

void TLZH::StartTree()
{
    auto& t = *tables_;
    for (int i = 0; i < SymbolCount; ++i) {
        t.Freq[i] = 1;
        t.Child[i] = static_cast<std::int16_t>(NodeCount + i);
        t.Parent[NodeCount + i] = static_cast<std::int16_t>(i);
    }
    for (int i = 0, j = SymbolCount; j < NodeCount; i += 2, ++j) {
        t.Freq[j] = static_cast<std::uint16_t>(t.Freq[i] + t.Freq[i + 1]);
        t.Child[j] = static_cast<std::int16_t>(i);
        t.Parent[i] = t.Parent[i + 1] = static_cast<std::int16_t>(j);
    }
    t.Freq[NodeCount] = 0xFFFF;
    t.Parent[RootNode] = 0;
}

void TLZH::RebuildTree()
{
    auto& t = *tables_;
    // Leaves first, their weights halved (rounded up so none drops to zero).
    int j = 0;
    for (int i = 0; i < NodeCount; ++i) {
        if (t.Child[i] >= NodeCount) {
            t.Freq[j] = static_cast<std::uint16_t>((t.Freq[i] + 1) / 2);
            t.Child[j] = t.Child[i];
            ++j;
        }
    }
    // Internal nodes, each inserted where the weights stay sorted.
    for (int i = 0, n = SymbolCount; n < NodeCount; i += 2, ++n) {
        const std::uint16_t f = static_cast<std::uint16_t>(t.Freq[i] + t.Freq[i + 1]);
        t.Freq[n] = f;
        int k = n - 1;
        while (f < t.Freq[k])
            --k;
        ++k;
        std::memmove(&t.Freq[k + 1], &t.Freq[k], sizeof(t.Freq[0]) * (n - k));
        std::memmove(&t.Child[k + 1], &t.Child[k], sizeof(t.Child[0]) * (n - k));
        t.Freq[k] = f;
        t.Child[k] = static_cast<std::int16_t>(i);
    }
    for (int i = 0; i < NodeCount; ++i) {
        const int k = t.Child[i];
        if (k >= NodeCount)
            t.Parent[k] = static_cast<std::int16_t>(i);
        else
            t.Parent[k] = t.Parent[k + 1] = static_cast<std::int16_t>(i);
    }
}

void TLZH::UpdateTree(int symbol)
{
    auto& t = *tables_;
    if (t.Freq[RootNode] == MaxFreq)
        RebuildTree();
    int x = t.Parent[NodeCount + symbol];
    do {
        const std::uint16_t k = ++t.Freq[x];
        if (k > t.Freq[x + 1]) {
            // Move the node past every lighter node so the weights stay sorted; the
            // sentinel at the end stops the scan.
            int l = x + 1;
            while (k > t.Freq[l + 1])
                ++l;
            t.Freq[x] = t.Freq[l];
            t.Freq[l] = k;

            const int i = t.Child[x];
            t.Parent[i] = static_cast<std::int16_t>(l);
            if (i < NodeCount)
                t.Parent[i + 1] = static_cast<std::int16_t>(l);
            const int j = t.Child[l];
            t.Child[l] = static_cast<std::int16_t>(i);
            t.Parent[j] = static_cast<std::int16_t>(x);
            if (j < NodeCount)
                t.Parent[j + 1] = static_cast<std::int16_t>(x);
            t.Child[x] = static_cast<std::int16_t>(j);
            x = l;
        }
        x = t.Parent[x];
    } while (x != 0);
}

int TLZH::DecodeSymbol()
{
    auto& t = *tables_;
    int x = t.Child[RootNode];
    while (x < NodeCount)
        x = t.Child[x + NextBit()];
    const int symbol = x - NodeCount;
    UpdateTree(symbol);
    return symbol;
}

int TLZH::DecodePosition()
{
    int b = NextByte();
    const int upper = PositionCodeTable[b];
    for (int extra = PositionLengthTable[b] - 2; extra > 0; --extra)
        b = (b << 1) + NextBit();
    return (upper << 6) | (b & 0x3F);
}

void TLZH::Decode(std::int32_t size, const TLzhBlockWriter& writer, const TLzhBlockReader& reader)
{
    BitBuffer = 0;
    BitCount = 0;
    try {
        tables_ = std::make_unique<Tables>();
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
    struct Release {
        TLZH& self;
        ~Release()
        {
            self.tables_.reset();
            self.reader_ = nullptr;
        }
    } release{*this};
    reader_ = &reader;

    StartTree();
    auto& ring = tables_->RingBuffer;
    // The whole window starts as spaces; valid streams only refer to the first 4036.
    std::memset(ring, 0x20, sizeof(ring));
    int r = WindowSize - MaxMatch;
    std::int32_t produced = 0;

    auto emit = [&](std::uint8_t byte) {
        std::uint16_t written = 0;
        writer(&byte, 1, written);
        ring[r] = byte;
        r = (r + 1) & (WindowSize - 1);
        ++produced;
    };

    while (produced < size) {
        const int symbol = DecodeSymbol();
        if (symbol < 256) {
            emit(static_cast<std::uint8_t>(symbol));
            continue;
        }
        const int start = (r - DecodePosition() - 1) & (WindowSize - 1);
        const int length = symbol - 255 + MatchThreshold;
        for (int n = 0; n < length; ++n)
            emit(ring[(start + n) & (WindowSize - 1)]);
    }
}
