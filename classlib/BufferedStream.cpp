#include "classlib/BufferedStream.h"

#include <algorithm>
#include <cstring>

TWriteBufferedStream::TWriteBufferedStream(std::unique_ptr<TStream> inner, std::size_t capacity)
    : inner_(std::move(inner)), buffer_(capacity > 0 ? capacity : 1)
{
}

TWriteBufferedStream::~TWriteBufferedStream() { Flush(); }

bool TWriteBufferedStream::Flush()
{
    if (used_ == 0)
        return true;
    const auto count = static_cast<std::int64_t>(used_);
    used_ = 0;
    const std::int64_t written = std::max<std::int64_t>(inner_->Write(buffer_.data(), count), 0);
    lost_ += count - written;
    return written == count;
}

std::int64_t TWriteBufferedStream::Read(void* buffer, std::int64_t count)
{
    Flush();
    return inner_->Read(buffer, count);
}

std::int64_t TWriteBufferedStream::Write(const void* buffer, std::int64_t count)
{
    if (count <= 0)
        return 0;
    const auto n = static_cast<std::size_t>(count);
    if (used_ + n > buffer_.size()) {
        if (!Flush())
            return 0;
        if (n >= buffer_.size())
            return inner_->Write(buffer, count);
    }
    std::memcpy(buffer_.data() + used_, buffer, n);
    used_ += n;
    return count;
}

std::int64_t TWriteBufferedStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    // Asking for the position needs no writing.
    if (origin == TSeekOrigin::soCurrent && offset == 0) {
        const std::int64_t position = inner_->Seek(0, TSeekOrigin::soCurrent);
        return position < 0 ? position : position + static_cast<std::int64_t>(used_);
    }
    Flush();
    return inner_->Seek(offset, origin);
}

std::int64_t TWriteBufferedStream::Size()
{
    Flush();
    return inner_->Size();
}
