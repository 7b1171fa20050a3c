#pragma once
#include <cstdint>
#include <initializer_list>

// A set of values of one enumeration (at most 64 values), kept as a bit mask: bit n = value n.
template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> values)
    {
        for (E v : values)
            mask_ |= Bit(v);
    }

    constexpr bool Contains(E v) const { return (mask_ & Bit(v)) != 0; }
    constexpr TSet& Include(E v) { mask_ |= Bit(v); return *this; }
    constexpr TSet& Exclude(E v) { mask_ &= ~Bit(v); return *this; }
    constexpr bool Empty() const { return mask_ == 0; }

    constexpr std::uint64_t Mask() const { return mask_; }
    static constexpr TSet FromMask(std::uint64_t mask)
    {
        TSet s;
        s.mask_ = mask;
        return s;
    }
    constexpr bool operator==(const TSet&) const = default;
    constexpr TSet operator+(TSet other) const { return FromMask(mask_ | other.mask_); }
    constexpr TSet operator-(TSet other) const { return FromMask(mask_ & ~other.mask_); }
    constexpr TSet operator*(TSet other) const { return FromMask(mask_ & other.mask_); }

private:
    static constexpr std::uint64_t Bit(E v) { return std::uint64_t{1} << static_cast<unsigned>(v); }
    std::uint64_t mask_ = 0;
};
