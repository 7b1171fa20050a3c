#include "LzhEncoder.h"

#include <algorithm>
#include <array>
#include <memory>
#include <stdexcept>

namespace skinpack {

namespace {

constexpr int kSymbols = 256 + LzhEncoder::MaxMatch - LzhEncoder::MinMatch + 1; // 314
constexpr int kNodes = 2 * kSymbols - 1;                                         // 627
constexpr int kRoot = kNodes - 1;
constexpr std::uint16_t kLimit = 0x8000;

// Offset prefix code: rows of (first upper value, number of values, prefix length).
struct PrefixRow {
    int firstUpper, values, length, firstByte;
};
constexpr PrefixRow kPrefixRows[] = {
    {0, 1, 3, 0x00}, {1, 3, 4, 0x20}, {4, 8, 5, 0x50}, {12, 12, 6, 0x90}, {24, 24, 7, 0xC0}, {48, 16, 8, 0xF0},
};

struct Prefix {
    std::uint32_t bits;
    int length;
};

constexpr std::array<Prefix, 64> MakePrefixes()
{
    std::array<Prefix, 64> table{};
    for (const auto& row : kPrefixRows) {
        const int bytesPerValue = 1 << (8 - row.length);
        for (int v = 0; v < row.values; ++v) {
            const int firstByte = row.firstByte + v * bytesPerValue;
            table[row.firstUpper + v] = {static_cast<std::uint32_t>(firstByte >> (8 - row.length)), row.length};
        }
    }
    return table;
}
constexpr auto kPrefixes = MakePrefixes();

} // namespace

// The adaptive code tree: weights kept sorted by node index, siblings adjacent, leaves
// marked by kNodes + symbol, rebuilt with halved weights when the root reaches kLimit.
class LzhEncoder::Code {
public:
    Code()
    {
        for (int s = 0; s < kSymbols; ++s) {
            weight_[s] = 1;
            child_[s] = kNodes + s;
            parent_[kNodes + s] = s;
        }
        for (int n = kSymbols, i = 0; n < kNodes; ++n, i += 2) {
            weight_[n] = weight_[i] + weight_[i + 1];
            child_[n] = i;
            parent_[i] = parent_[i + 1] = n;
        }
        weight_[kNodes] = 0xFFFF;
        parent_[kRoot] = 0;
    }

    // The code of `symbol` as (bits, length), root bit first; then the tree learns it.
    Prefix Take(int symbol)
    {
        std::uint32_t bits = 0;
        int length = 0;
        for (int node = parent_[kNodes + symbol]; node != kRoot; node = parent_[node]) {
            // Siblings are adjacent: the first child stands for bit 0, the next for bit 1.
            bits |= static_cast<std::uint32_t>(node - child_[parent_[node]]) << length;
            ++length;
        }
        Learn(symbol);
        return {bits, length};
    }

    int rebuilds = 0;

private:
    void Learn(int symbol)
    {
        if (weight_[kRoot] == kLimit)
            Rebuild();
        int node = parent_[kNodes + symbol];
        while (true) {
            const std::uint16_t w = ++weight_[node];
            if (w > weight_[node + 1]) {
                int to = node + 1;
                while (w > weight_[to + 1])
                    ++to;
                SwapNodes(node, to, w);
                node = to;
            }
            node = parent_[node];
            if (node == 0)
                break;
        }
    }

    void SwapNodes(int from, int to, std::uint16_t w)
    {
        weight_[from] = weight_[to];
        weight_[to] = w;
        const int a = child_[from];
        const int b = child_[to];
        Adopt(a, to);
        Adopt(b, from);
        child_[to] = a;
        child_[from] = b;
    }

    void Adopt(int child, int parent)
    {
        parent_[child] = parent;
        if (child < kNodes)
            parent_[child + 1] = parent;
    }

    void Rebuild()
    {
        ++rebuilds;
        std::array<std::uint16_t, kNodes + 1> w{};
        std::array<int, kNodes> c{};
        int leaves = 0;
        for (int n = 0; n < kNodes; ++n)
            if (child_[n] >= kNodes) {
                w[leaves] = static_cast<std::uint16_t>((weight_[n] + 1) / 2);
                c[leaves] = child_[n];
                ++leaves;
            }
        for (int n = kSymbols, i = 0; n < kNodes; ++n, i += 2) {
            const std::uint16_t sum = static_cast<std::uint16_t>(w[i] + w[i + 1]);
            int at = n;
            while (at > 0 && sum < w[at - 1])
                --at;
            for (int m = n; m > at; --m) {
                w[m] = w[m - 1];
                c[m] = c[m - 1];
            }
            w[at] = sum;
            c[at] = i;
        }
        for (int n = 0; n < kNodes; ++n) {
            weight_[n] = w[n];
            child_[n] = c[n];
        }
        for (int n = 0; n < kNodes; ++n)
            Adopt(child_[n], n);
    }

    std::array<std::uint16_t, kNodes + 1> weight_{};
    std::array<int, kNodes + kSymbols> parent_{};
    std::array<int, kNodes> child_{};
};

LzhEncoder::LzhEncoder() : code_(new Code) {}
LzhEncoder::~LzhEncoder() { delete code_; }

int LzhEncoder::Rebuilds() const { return code_->rebuilds; }

void LzhEncoder::PutBits(std::uint32_t bits, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        pending_ = (pending_ << 1) | ((bits >> i) & 1);
        if (++pendingBits_ == 8) {
            out_.push_back(static_cast<std::uint8_t>(pending_));
            pending_ = 0;
            pendingBits_ = 0;
        }
    }
}

void LzhEncoder::Literal(std::uint8_t byte)
{
    const Prefix c = code_->Take(byte);
    PutBits(c.bits, c.length);
}

void LzhEncoder::Match(int length, int offset)
{
    if (length < MinMatch || length > MaxMatch || offset < 0 || offset >= WindowSize)
        throw std::invalid_argument("LZH match out of range");
    const Prefix c = code_->Take(256 + length - MinMatch);
    PutBits(c.bits, c.length);
    const Prefix p = kPrefixes[offset >> 6];
    PutBits(p.bits, p.length);
    PutBits(static_cast<std::uint32_t>(offset & 0x3F), 6);
}

std::vector<std::uint8_t> LzhEncoder::Finish()
{
    if (pendingBits_ > 0)
        PutBits(0, 8 - pendingBits_);
    return std::move(out_);
}

namespace {

// Longest earlier occurrence of the bytes at `pos`, through chains of 3-byte hashes.
class MatchFinder {
public:
    explicit MatchFinder(std::span<const std::uint8_t> data) : data_(data), prev_(data.size(), -1) {}

    void Insert(std::size_t pos)
    {
        if (pos + LzhEncoder::MinMatch > data_.size())
            return;
        const unsigned h = Hash(pos);
        prev_[pos] = head_[h];
        head_[h] = static_cast<int>(pos);
    }

    // Returns the length (0 when below the minimum) and sets `distance` (1 = previous byte).
    int Find(std::size_t pos, int& distance) const
    {
        const int limit = static_cast<int>(std::min<std::size_t>(LzhEncoder::MaxMatch, data_.size() - pos));
        if (limit < LzhEncoder::MinMatch)
            return 0;
        int best = 0;
        int chain = kMaxChain;
        for (int cand = head_[Hash(pos)]; cand >= 0 && chain-- > 0; cand = prev_[cand]) {
            const int d = static_cast<int>(pos) - cand;
            if (d > LzhEncoder::WindowSize)
                break;
            if (data_[cand + best] != data_[pos + best])
                continue;
            int n = 0;
            while (n < limit && data_[cand + n] == data_[pos + n])
                ++n;
            if (n > best) {
                best = n;
                distance = d;
                if (n == limit)
                    break;
            }
        }
        return best >= LzhEncoder::MinMatch ? best : 0;
    }

private:
    static constexpr int kHashBits = 15;
    static constexpr int kMaxChain = 1024;

    unsigned Hash(std::size_t pos) const
    {
        const unsigned v = data_[pos] | (data_[pos + 1] << 8) | (data_[pos + 2] << 16);
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    std::span<const std::uint8_t> data_;
    std::vector<int> prev_;
    std::array<int, 1 << kHashBits> head_ = MakeHeads();
    static std::array<int, 1 << kHashBits> MakeHeads()
    {
        std::array<int, 1 << kHashBits> heads;
        heads.fill(-1);
        return heads;
    }
};

} // namespace

std::vector<std::uint8_t> LzhCompress(std::span<const std::uint8_t> data)
{
    LzhEncoder encoder;
    auto finder = std::make_unique<MatchFinder>(data);
    std::size_t pos = 0;
    while (pos < data.size()) {
        int distance = 0;
        int length = finder->Find(pos, distance);
        if (length > 0 && pos + 1 < data.size()) {
            // One step of lazy matching: a longer match one byte on is worth a literal.
            finder->Insert(pos);
            int nextDistance = 0;
            const int next = finder->Find(pos + 1, nextDistance);
            if (next > length) {
                encoder.Literal(data[pos]);
                ++pos;
                continue;
            }
            encoder.Match(length, distance - 1);
            for (std::size_t i = pos + 1; i < pos + length; ++i)
                finder->Insert(i);
            pos += length;
            continue;
        }
        if (length > 0) {
            encoder.Match(length, distance - 1);
            for (std::size_t i = pos; i < pos + length; ++i)
                finder->Insert(i);
            pos += length;
            continue;
        }
        encoder.Literal(data[pos]);
        finder->Insert(pos);
        ++pos;
    }
    return encoder.Finish();
}

std::vector<std::uint8_t> PackImage(std::span<const std::uint8_t> data)
{
    if (data.size() > 0x7FFFFFFF)
        throw std::length_error("data too large for a skin file");
    const auto size = static_cast<std::uint32_t>(data.size());
    std::vector<std::uint8_t> image = {static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8),
                                       static_cast<std::uint8_t>(size >> 16), static_cast<std::uint8_t>(size >> 24)};
    const auto bits = LzhCompress(data);
    image.insert(image.end(), bits.begin(), bits.end());
    return image;
}

} // namespace skinpack
