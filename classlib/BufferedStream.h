#pragma once
// Gathers small writes into large blocks for the stream below: one system call per megabyte
// instead of one per step. Reads, seeks and size questions see every byte written so far.
#include <cstdint>
#include <memory>
#include <vector>

#include "classlib/Stream.h"

class TWriteBufferedStream : public TStream {
public:
    explicit TWriteBufferedStream(std::unique_ptr<TStream> inner, std::size_t capacity = 1 << 20);
    // Writes what is still gathered; a failure here goes unseen, so callers Flush first.
    ~TWriteBufferedStream() override;

    // Reads, seeks and sizes write what is gathered first and then see the stream below as it
    // is: bytes it refused are counted in Lost(), not pretended.
    std::int64_t Read(void* buffer, std::int64_t count) override;
    // Short only when gathered bytes could not be written: then nothing of this call was taken.
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override;

    // False when the stream below took less than was gathered (the rest is dropped).
    bool Flush();
    std::int64_t Pending() const { return static_cast<std::int64_t>(used_); }
    // Bytes the stream below refused since this stream was made.
    std::int64_t Lost() const { return lost_; }

private:
    std::unique_ptr<TStream> inner_;
    std::vector<std::uint8_t> buffer_;
    std::size_t used_ = 0;
    std::int64_t lost_ = 0;
};
