// The range encoder against a reference that resolves carries the classic way (a held-back
// byte and a count of 0xFF bytes behind it): the same bytes for random symbols and for
// sequences that keep the code near the top of its range, where 0xFF runs meet carries.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "mac/RangeEncoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class ReferenceCoder {
public:
    void EncodeFrequency(std::uint32_t total, std::uint32_t cumulative, std::uint32_t frequency)
    {
        Normalise();
        const std::uint32_t q = range_ / total;
        low_ += q * cumulative;
        range_ = q * frequency;
    }
    void EncodeShift(int bits, std::uint32_t cumulative, std::uint32_t frequency)
    {
        Normalise();
        const std::uint32_t q = range_ >> bits;
        low_ += q * cumulative;
        range_ = q * frequency;
    }
    Bytes Finish()
    {
        Emit(low_ >= kTop);
        const std::uint32_t low = low_ & (kTop - 1);
        out_.insert(out_.end(), {std::uint8_t(low >> 23), std::uint8_t(low >> 15), std::uint8_t(low >> 7),
                                 std::uint8_t(low << 1)});
        return out_;
    }
    int CarriesOverRuns() const { return carriesOverRuns_; }

private:
    static constexpr std::uint32_t kTop = 1u << 31;

    void Normalise()
    {
        while (range_ <= (1u << 23)) {
            if (low_ < (0xFFu << 23) || low_ >= kTop) {
                Emit(low_ >= kTop);
                cache_ = std::uint8_t(low_ >> 23);
            } else {
                ++pending_;
            }
            range_ <<= 8;
            low_ = (low_ << 8) & (kTop - 1);
        }
    }
    // The held byte and the 0xFF run behind it, with the carry if there is one.
    void Emit(bool carry)
    {
        if (carry && pending_ > 0)
            ++carriesOverRuns_;
        out_.push_back(std::uint8_t(cache_ + carry));
        out_.insert(out_.end(), pending_, carry ? 0x00 : 0xFF);
        pending_ = 0;
    }

    Bytes out_;
    std::uint32_t low_ = 0, range_ = kTop, pending_ = 0;
    std::uint8_t cache_ = 0;
    int carriesOverRuns_ = 0;
};

// A symbol: kind 0 by shift (16 bits), 1 by frequency.
struct Symbol {
    int kind;
    std::uint32_t total, cumulative, frequency;
};

Bytes EncodeOurs(const std::vector<Symbol>& symbols)
{
    Bytes out(8, 0xAA);  // bytes before the start are the caller's
    mac::RangeEncoder coder(out, 8);
    for (const Symbol& s : symbols) {
        coder.Reserve();
        if (s.kind == 0)
            coder.EncodeShift(16, s.cumulative, s.frequency);
        else
            coder.EncodeFrequency(s.total, s.cumulative, s.frequency);
    }
    out.resize(coder.Finish());
    return Bytes(out.begin() + 8, out.end());
}

Bytes EncodeReference(const std::vector<Symbol>& symbols, int* carriesOverRuns)
{
    ReferenceCoder coder;
    for (const Symbol& s : symbols) {
        if (s.kind == 0)
            coder.EncodeShift(16, s.cumulative, s.frequency);
        else
            coder.EncodeFrequency(s.total, s.cumulative, s.frequency);
    }
    Bytes out = coder.Finish();
    *carriesOverRuns = coder.CarriesOverRuns();
    return out;
}

std::vector<Symbol> RandomSymbols(std::mt19937& random, std::size_t count)
{
    std::vector<Symbol> symbols;
    for (std::size_t i = 0; i < count; ++i) {
        const bool byShift = random() % 2 == 0;
        const std::uint32_t total = byShift ? 65536 : 1 + random() % 65536;
        const std::uint32_t frequency = 1 + random() % (random() % 4 == 0 ? total : std::min<std::uint32_t>(total, 16));
        const std::uint32_t cumulative = random() % (total - frequency + 1);
        symbols.push_back({byShift ? 0 : 1, total, cumulative, frequency});
    }
    return symbols;
}

// Mostly the topmost symbol (the code stays just under the top: 0xFF bytes pile up), now and
// then a wide one that pushes it over (a carry runs back through them).
std::vector<Symbol> TopSymbols(std::mt19937& random, std::size_t count)
{
    std::vector<Symbol> symbols;
    for (std::size_t i = 0; i < count; ++i) {
        if (random() % 13 == 0)
            symbols.push_back({0, 65536, std::uint32_t(1 + random() % 65000), std::uint32_t(1 + random() % 500)});
        else if (random() % 2)
            symbols.push_back({0, 65536, 65535, 1});
        else
            symbols.push_back({1, 40000, 39999, 1});
    }
    return symbols;
}

} // namespace

TEST(MacRangeEncoder, MatchesTheReferenceByteForByte)
{
    std::mt19937 random(3);
    int carriesOverRuns = 0;
    for (int round = 0; round < 40; ++round) {
        const std::size_t count = round < 5 ? std::size_t(round) : 20000;
        for (const auto& symbols : {RandomSymbols(random, count), TopSymbols(random, count)}) {
            int carries = 0;
            const Bytes expected = EncodeReference(symbols, &carries);
            carriesOverRuns += carries;
            const Bytes got = EncodeOurs(symbols);
            ASSERT_EQ(got.size(), expected.size()) << "round " << round;
            const auto mismatch = std::mismatch(got.begin(), got.end(), expected.begin());
            ASSERT_TRUE(mismatch.first == got.end())
                << "round " << round << ": first difference at byte " << (mismatch.first - got.begin());
        }
    }
    EXPECT_GT(carriesOverRuns, 0) << "no carry ran back over 0xFF bytes";
}

// The encoder grows its buffer itself, keeping what it wrote.
TEST(MacRangeEncoder, GrowsItsBufferFromEmpty)
{
    std::mt19937 random(9);
    const auto symbols = RandomSymbols(random, 50000);
    int carries = 0;
    const Bytes expected = EncodeReference(symbols, &carries);
    Bytes out(4);
    mac::RangeEncoder coder(out, 4);
    for (const Symbol& s : symbols) {
        coder.Reserve();
        if (s.kind == 0)
            coder.EncodeShift(16, s.cumulative, s.frequency);
        else
            coder.EncodeFrequency(s.total, s.cumulative, s.frequency);
    }
    const std::size_t end = coder.Finish();
    EXPECT_EQ(Bytes(out.begin() + 4, out.begin() + long(end)), expected);
    EXPECT_GE(out.size(), end);
}
