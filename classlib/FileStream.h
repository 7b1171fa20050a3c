#pragma once
#include <cstdint>
#include <string>

#include "Exception.h"
#include "classlib/Stream.h"

// Open modes of TFileStream (combinable with fmShareExclusive).
enum TFileMode : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareExclusive = 0x0010,
    fmCreate = 0xFF00, // create, or truncate an existing file; read and write
};

// A file as a stream of bytes. Paths are UTF-8. Open failures raise EFCreateError /
// EFOpenError with the path and the system's reason.
class TFileStream : public TStream {
public:
    TFileStream(const std::string& fileName, unsigned mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    // Return the number of bytes moved; short counts at end of file or on error.
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    // Raise EReadError / EWriteError unless all bytes moved.
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);

    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
    std::int64_t Size() override;
    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
#ifdef _WIN32
    void* handle_;
#else
    int fd_;
#endif
};

bool FileExists(const std::string& fileName);
// The system's text for the last error of the calling thread.
std::string LastSystemErrorText();
