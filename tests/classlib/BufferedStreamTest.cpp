// Gathered writes: the bytes below end up exactly as direct writes would leave them, whatever
// the mix of writes, seeks, reads and size questions; a stream below that refuses bytes is
// reported, never passed over.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "classlib/BufferedStream.h"
#include "classlib/MemoryStream.h"

namespace {

// A memory stream that takes only `limit` bytes in all.
class TFullStream : public TMemoryStream {
public:
    explicit TFullStream(std::int64_t limit) : limit_(limit) {}
    std::int64_t Write(const void* buffer, std::int64_t count) override
    {
        const std::int64_t n = std::min(count, limit_ - taken_);
        taken_ += n;
        return TMemoryStream::Write(buffer, n);
    }

private:
    std::int64_t limit_;
    std::int64_t taken_ = 0;
};

std::vector<std::uint8_t> Bytes(TMemoryStream& s)
{
    const auto* p = static_cast<const std::uint8_t*>(s.Memory());
    return {p, p + s.Size()};
}

} // namespace

TEST(WriteBufferedStream, EndsWithTheBytesOfDirectWritesUnderAnyMixOfOperations)
{
    std::mt19937 random(7);
    for (std::size_t capacity : {1u, 7u, 64u, 4096u}) {
        SCOPED_TRACE(capacity);
        auto* below = new TMemoryStream;
        TWriteBufferedStream buffered(std::unique_ptr<TStream>(below), capacity);
        TMemoryStream direct;
        for (int step = 0; step < 400; ++step) {
            const int kind = static_cast<int>(random() % 6);
            if (kind <= 2) {
                std::vector<std::uint8_t> data(random() % 300);
                for (auto& b : data)
                    b = static_cast<std::uint8_t>(random());
                ASSERT_EQ(buffered.Write(data.data(), static_cast<std::int64_t>(data.size())),
                          static_cast<std::int64_t>(data.size()));
                direct.Write(data.data(), static_cast<std::int64_t>(data.size()));
            } else if (kind == 3) {
                ASSERT_EQ(buffered.Position(), direct.Position());
                ASSERT_EQ(buffered.Size(), direct.Size());
            } else if (kind == 4 && direct.Size() > 0) {
                // Patch-like: back to an earlier place and on again from there.
                const std::int64_t to = static_cast<std::int64_t>(random() % direct.Size());
                ASSERT_EQ(buffered.Seek(to, TSeekOrigin::soBeginning), to);
                direct.Seek(to, TSeekOrigin::soBeginning);
            } else if (kind == 5 && direct.Size() > 0) {
                const std::int64_t from = static_cast<std::int64_t>(random() % direct.Size());
                buffered.Seek(from, TSeekOrigin::soBeginning);
                direct.Seek(from, TSeekOrigin::soBeginning);
                std::uint8_t a[16] = {}, b[16] = {};
                ASSERT_EQ(buffered.Read(a, 16), direct.Read(b, 16));
                ASSERT_EQ(std::memcmp(a, b, 16), 0);
            }
        }
        ASSERT_TRUE(buffered.Flush());
        EXPECT_EQ(Bytes(*below), Bytes(direct));
    }
}

TEST(WriteBufferedStream, AStreamBelowThatRefusesBytesIsReported)
{
    // Gathered bytes that do not fit make the next write that needs room take nothing.
    auto* below = new TFullStream(50);
    TWriteBufferedStream buffered(std::unique_ptr<TStream>(below), 64);
    std::vector<std::uint8_t> data(60, 0xAB);
    EXPECT_EQ(buffered.Write(data.data(), 60), 60);
    EXPECT_EQ(buffered.Write(data.data(), 60), 0);
    // A flush that cannot write everything says so and counts what was lost; positions and
    // sizes afterwards are those of the stream below, as it really is.
    auto* small = new TFullStream(10);
    TWriteBufferedStream second(std::unique_ptr<TStream>(small), 64);
    EXPECT_EQ(second.Write(data.data(), 20), 20);
    EXPECT_EQ(second.Pending(), 20);
    EXPECT_EQ(second.Position(), 20);
    EXPECT_FALSE(second.Flush());
    EXPECT_EQ(second.Lost(), 10);
    EXPECT_EQ(second.Size(), 10);
    EXPECT_EQ(second.Position(), 10);
    EXPECT_EQ(second.Write(data.data(), 5), 5);
    EXPECT_EQ(second.Seek(0, TSeekOrigin::soBeginning), 0) << "the write before is settled, and lost";
    EXPECT_EQ(second.Lost(), 15);
    // A write larger than the buffer goes straight below and reports what was taken.
    auto* third = new TFullStream(1000);
    TWriteBufferedStream big(std::unique_ptr<TStream>(third), 16);
    std::vector<std::uint8_t> large(1500, 1);
    EXPECT_EQ(big.Write(large.data(), 1500), 1000);
}
