#include <gtest/gtest.h>

#include "SkinTestKit.h"
#include "tools/skinpack/LzhEncoder.h"

using namespace skintest;
using skinpack::LzhEncoder;

namespace {

struct Vector {
    const char* name;
    Bytes stream;
    std::int32_t size;
    std::string expected;
};

// Streams whose bits were worked out by hand from the initial code tree.
TEST(LzhDecoder, DecodesKnownStreams)
{
    const Vector vectors[] = {
        {"three literals", {0xF6, 0xFB, 0xBD, 0xE0}, 3, "abc"},
        {"literals then an overlapping match", {0xF6, 0xFB, 0xBD, 0xF1, 0xE0, 0x20}, 9, "abcabcabc"},
    };
    for (const auto& v : vectors) {
        const Bytes out = Decode(v.stream, v.size);
        EXPECT_EQ(std::string(out.begin(), out.end()), v.expected) << v.name;
    }
}

TEST(LzhDecoder, PositionTablesFollowTheRowRule)
{
    struct Row {
        int first, last, bytesPerValue, prefixLength, firstUpper;
    };
    const Row rows[] = {{0x00, 0x1F, 32, 3, 0}, {0x20, 0x4F, 16, 4, 1}, {0x50, 0x8F, 8, 5, 4},
                        {0x90, 0xBF, 4, 6, 12}, {0xC0, 0xEF, 2, 7, 24}, {0xF0, 0xFF, 1, 8, 48}};
    for (const auto& row : rows)
        for (int b = row.first; b <= row.last; ++b) {
            EXPECT_EQ(TLZH::PositionCodeTable[b], row.firstUpper + (b - row.first) / row.bytesPerValue) << b;
            EXPECT_EQ(TLZH::PositionLengthTable[b], row.prefixLength) << b;
        }
    EXPECT_EQ(TLZH::PositionCodeTable[0x2F], 1);
    EXPECT_EQ(TLZH::PositionCodeTable[0x30], 2);
    EXPECT_EQ(TLZH::PositionCodeTable[0x40], 3);
}

TEST(LzhDecoder, SizeZeroOrBelowReadsAndWritesNothing)
{
    for (std::int32_t size : {0, -1, -100000}) {
        int reads = 0;
        EXPECT_TRUE(Decode({0xF6, 0xFB, 0xBD, 0xE0}, size, &reads).empty()) << size;
        EXPECT_EQ(reads, 0) << size;
    }
}

// Streams made with the encoder's single steps, decoded by the product.
TEST(LzhDecoder, WindowRules)
{
    struct Case {
        const char* name;
        void (*write)(LzhEncoder&);
        std::int32_t size;
        std::string expected;
    };
    const Case cases[] = {
        {"a leading match copies the spaces the window starts with",
         [](LzhEncoder& e) { e.Match(5, 100); }, 5, "     "},
        {"offset 0 repeats the byte written last",
         [](LzhEncoder& e) { e.Literal('x'); e.Match(10, 0); }, 11, std::string(11, 'x')},
        {"an overlapping match repeats a pattern",
         [](LzhEncoder& e) { e.Literal('a'); e.Literal('b'); e.Match(7, 1); }, 9, "ababababa"},
        {"a final match is copied whole past the size",
         [](LzhEncoder& e) { e.Literal('q'); e.Match(60, 0); }, 2, std::string(61, 'q')},
        {"the longest offset reaches 4096 bytes back",
         [](LzhEncoder& e) {
             e.Literal('A');
             for (int i = 0; i < 4095; ++i)
                 e.Literal('-');
             e.Match(3, 4095);
         },
         4099, "A" + std::string(4095, '-') + "A--"},
    };
    for (const auto& c : cases) {
        LzhEncoder encoder;
        c.write(encoder);
        const Bytes out = Decode(encoder.Finish(), c.size);
        EXPECT_EQ(std::string(out.begin(), out.end()), c.expected) << c.name;
    }
}

TEST(LzhDecoder, TruncatedInputStillYieldsTheSizeWithoutError)
{
    const Bytes data = RandomBytes(20000, 7, 16);
    Bytes stream = skinpack::LzhCompress(data);
    stream.resize(stream.size() / 2);
    const Bytes out = Decode(stream, static_cast<std::int32_t>(data.size()));
    ASSERT_GE(out.size(), data.size());
    EXPECT_LE(out.size(), data.size() + 59);
    // What the kept half described comes out right.
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 5000, out.begin()));
    EXPECT_NE(out, data);
}

// Compressor and decoder round trips, byte-exact, across many code-tree rebuilds.
TEST(LzhRoundTrip, RandomAndStructuredData)
{
    struct Case {
        const char* name;
        Bytes data;
    };
    Bytes ramps;
    for (int i = 0; i < 300000; ++i)
        ramps.push_back(static_cast<std::uint8_t>((i / 7) ^ (i % 251)));
    Bytes text;
    for (int i = 0; i < 5000; ++i) {
        const std::string line = "[Section" + std::to_string(i % 37) + "]\r\nKey" + std::to_string(i) + " = " +
                                 std::to_string(i * 7919 % 1000) + "\r\n";
        text.insert(text.end(), line.begin(), line.end());
    }
    const Case cases[] = {
        {"empty", {}},
        {"one byte", {0x42}},
        {"uniform random", RandomBytes(120000, 1)},
        {"random over four symbols", RandomBytes(150000, 2, 4)},
        {"long runs", Bytes(200000, 0xAB)},
        {"ramps", ramps},
        {"ini-like text", text},
    };
    for (const auto& c : cases) {
        const Bytes stream = skinpack::LzhCompress(c.data);
        const Bytes out = Decode(stream, static_cast<std::int32_t>(c.data.size()));
        ASSERT_GE(out.size(), c.data.size()) << c.name;
        EXPECT_TRUE(std::equal(c.data.begin(), c.data.end(), out.begin())) << c.name;
        EXPECT_LE(out.size(), c.data.size() + 59) << c.name;
    }
}

// Enough symbols for the root weight to reach its limit several times; every symbol
// after a rebuild is coded with the rebuilt tree.
TEST(LzhRoundTrip, SurvivesManyTreeRebuilds)
{
    LzhEncoder encoder;
    const Bytes data = RandomBytes(40000 * 6, 11, 64);
    for (auto b : data)
        encoder.Literal(b);
    EXPECT_GE(encoder.Rebuilds(), 6);
    const Bytes out = Decode(encoder.Finish(), static_cast<std::int32_t>(data.size()));
    EXPECT_EQ(out, data);
}

TEST(LzhRoundTrip, CompressesRepetitiveDataWell)
{
    Bytes bitmapLike;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const std::uint8_t v = static_cast<std::uint8_t>(40 + y / 4);
            bitmapLike.insert(bitmapLike.end(), {v, static_cast<std::uint8_t>(v + 10), 200});
        }
    const Bytes stream = skinpack::LzhCompress(bitmapLike);
    EXPECT_LT(stream.size() * 20, bitmapLike.size());
    EXPECT_EQ(Decode(stream, static_cast<std::int32_t>(bitmapLike.size())), bitmapLike);
}

// A failing writer ends the decoding with its own error; the decoder stays usable.
TEST(LzhDecoder, WriterErrorLeavesDecodeAndTheObjectIsReusable)
{
    const Bytes data = RandomBytes(3000, 5, 4);
    const Bytes stream = skinpack::LzhCompress(data);
    TLZH lzh;
    std::size_t at = 0;
    int written = 0;
    auto reader = [&](void* b, std::uint16_t n, std::uint16_t& a) {
        a = 0;
        while (a < n && at < stream.size())
            static_cast<std::uint8_t*>(b)[a++] = stream[at++];
    };
    EXPECT_THROW(lzh.Decode(
                     static_cast<std::int32_t>(data.size()),
                     [&](const void*, std::uint16_t, std::uint16_t&) {
                         if (++written == 100)
                             throw EWriteError("Stream write error");
                     },
                     reader),
                 EWriteError);
    EXPECT_EQ(written, 100);

    Bytes out;
    at = 0;
    lzh.Decode(
        static_cast<std::int32_t>(data.size()),
        [&](const void* b, std::uint16_t n, std::uint16_t& a) {
            out.insert(out.end(), static_cast<const std::uint8_t*>(b), static_cast<const std::uint8_t*>(b) + n);
            a = n;
        },
        reader);
    EXPECT_EQ(out, data);
}

TEST(LzhDecoder, ReadsAndWritesThroughMemoryStreams)
{
    const Bytes data = RandomBytes(5000, 3, 8);
    TMemoryStream in, out;
    Fill(in, skinpack::LzhCompress(data));
    TLZH lzh;
    lzh.InputStream = &in;
    lzh.OutputStream = &out;
    lzh.Decode(
        static_cast<std::int32_t>(data.size()),
        [&](const void* b, std::uint16_t n, std::uint16_t& a) { lzh.WriteBlock(b, n, a); },
        [&](void* b, std::uint16_t n, std::uint16_t& a) { lzh.ReadBlock(b, n, a); });
    EXPECT_EQ(Contents(out), data);
    // At the end of the input a read delivers nothing.
    in.SetPosition(in.Size());
    std::uint8_t byte = 0x55;
    std::uint16_t actual = 9;
    lzh.ReadBlock(&byte, 1, actual);
    EXPECT_EQ(actual, 0);
}

} // namespace
