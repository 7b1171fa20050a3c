// The file's MD5 and the frames' CRC-32 against published check values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mac/Checksums.h"

namespace {

std::string Hex(const std::array<std::uint8_t, 16>& digest) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (std::uint8_t b : digest) out += {digits[b >> 4], digits[b & 15]};
    return out;
}

std::string Md5Of(const std::string& text) {
    mac::Md5 md5;
    md5.Update(text.data(), text.size());
    return Hex(md5.Final());
}

std::uint32_t Crc32Of(const std::string& text) {
    return mac::Crc32(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

}  // namespace

TEST(Checksums, Md5MatchesTheReferenceDigests) {
    EXPECT_EQ(Md5Of(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Of("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Md5Of("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(Md5Of("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}

// Fed in uneven pieces that straddle the 64-byte blocks, the digest is the same.
TEST(Checksums, Md5IsIndependentOfHowTheDataIsSplit) {
    std::string text;
    for (int i = 0; i < 1000; ++i) text += char('a' + i * 7 % 26);
    const std::string whole = Md5Of(text);
    for (std::size_t piece : {1u, 3u, 55u, 63u, 64u, 65u, 200u}) {
        mac::Md5 md5;
        for (std::size_t at = 0; at < text.size(); at += piece)
            md5.Update(text.data() + at, std::min(piece, text.size() - at));
        EXPECT_EQ(Hex(md5.Final()), whole) << "pieces of " << piece;
    }
}

TEST(Checksums, Crc32MatchesTheReferenceValues) {
    EXPECT_EQ(Crc32Of(""), 0x00000000u);
    EXPECT_EQ(Crc32Of("123456789"), 0xCBF43926u);
    EXPECT_EQ(Crc32Of("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
    EXPECT_EQ(Crc32Of(std::string("\xd2\x04\x1f\xef", 4)), 0x57FFF7A5u);  // one stereo block
}

// The folding path (where the CPU has it) against the table reference: every length across
// the 16- and 64-byte block boundaries, from unaligned starts, random and all-ones bytes.
TEST(Checksums, Crc32FoldingMatchesTheTables) {
    std::uint32_t seed = 12345;
    std::vector<std::uint8_t> random(4200), ones(4200, 0xFF);
    for (auto& b : random) b = std::uint8_t((seed = seed * 1664525u + 1013904223u) >> 24);
    for (const auto* bytes : {&random, &ones}) {
        for (std::size_t size = 0; size <= 1100; ++size)
            for (std::size_t start : {0u, 1u, 7u}) {
                const std::uint8_t* p = bytes->data() + start;
                ASSERT_EQ(mac::Crc32(p, size), mac::Crc32Reference(p, size)) << size << " bytes from " << start;
            }
        EXPECT_EQ(mac::Crc32(bytes->data(), 4200), mac::Crc32Reference(bytes->data(), 4200));
    }
}
