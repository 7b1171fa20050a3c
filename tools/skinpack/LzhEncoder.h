#pragma once
#include <cstdint>
#include <span>
#include <vector>

namespace skinpack {

// Writes LZHUF streams that the product's decoder (skin/Lzh.h) reads: literals and match
// lengths under an adaptive Huffman code that evolves exactly as the decoder's does, match
// offsets under the static prefix code plus six plain bits.
class LzhEncoder {
public:
    static constexpr int WindowSize = 4096;
    static constexpr int MinMatch = 3;
    static constexpr int MaxMatch = 60;

    LzhEncoder();
    ~LzhEncoder();
    LzhEncoder(const LzhEncoder&) = delete;
    LzhEncoder& operator=(const LzhEncoder&) = delete;

    void Literal(std::uint8_t byte);
    // `offset` as the decoder counts it: 0 is the byte written last.
    void Match(int length, int offset);
    // Pads the last byte with zero bits and hands the stream over.
    std::vector<std::uint8_t> Finish();

    // How many times the code tree has been rebuilt so far (its root reached the limit).
    int Rebuilds() const;

private:
    class Code;
    void PutBits(std::uint32_t bits, int count);

    Code* code_;
    std::vector<std::uint8_t> out_;
    std::uint32_t pending_ = 0;
    int pendingBits_ = 0;
};

// The bit stream for `data` (longest matches found by hash chains, one step of lazy matching).
std::vector<std::uint8_t> LzhCompress(std::span<const std::uint8_t> data);

// A skin file image: the decoded size as 32-bit little-endian, then the bit stream.
std::vector<std::uint8_t> PackImage(std::span<const std::uint8_t> data);

} // namespace skinpack
