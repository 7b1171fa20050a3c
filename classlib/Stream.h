#pragma once
#include <cstdint>

#include "classlib/Exception.h"

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// A sequence of bytes with a position: files, memory.
class TStream {
public:
    virtual ~TStream() = default;

    // Return the number of bytes moved; short counts at the end or on error.
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
    virtual std::int64_t Size();

    std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
    // Raise EReadError "Stream read error" / EWriteError "Stream write error" unless all
    // bytes moved.
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);
    // Copies `count` bytes from the source's position; count 0 copies the whole source from
    // its start. Raises EReadError when the source has fewer bytes.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);
};
