#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "classlib/MemoryStream.h"
#include "skin/Lzh.h"

namespace skintest {

using Bytes = std::vector<std::uint8_t>;

// Decodes `stream` with the product's decoder through plain callbacks; counts reads.
inline Bytes Decode(const Bytes& stream, std::int32_t size, int* reads = nullptr)
{
    Bytes out;
    std::size_t at = 0;
    TLZH lzh;
    lzh.Decode(
        size,
        [&](const void* buffer, std::uint16_t count, std::uint16_t& actual) {
            const auto* p = static_cast<const std::uint8_t*>(buffer);
            out.insert(out.end(), p, p + count);
            actual = count;
        },
        [&](void* buffer, std::uint16_t count, std::uint16_t& actual) {
            if (reads)
                ++*reads;
            actual = 0;
            auto* p = static_cast<std::uint8_t*>(buffer);
            while (actual < count && at < stream.size())
                p[actual++] = stream[at++];
        });
    return out;
}

inline Bytes RandomBytes(std::size_t size, std::uint32_t seed, int alphabet = 256)
{
    std::mt19937 rng(seed);
    Bytes out(size);
    for (auto& b : out)
        b = static_cast<std::uint8_t>(rng() % alphabet);
    return out;
}

inline Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

inline void Fill(TMemoryStream& stream, const Bytes& bytes)
{
    stream.Clear();
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
}

inline Bytes Contents(TMemoryStream& stream)
{
    const auto* p = static_cast<const std::uint8_t*>(stream.Memory());
    return p ? Bytes(p, p + stream.Size()) : Bytes();
}

} // namespace skintest
