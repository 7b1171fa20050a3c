#include "FileStream.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>

#include "Unicode.h"
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
const char* const kCreateError = "Cannot create file \"%s\". %s";
const char* const kOpenError = "Cannot open file \"%s\". %s";

// Moves `count` bytes in as many system calls as it takes. `step(offset, wanted)` moves up to
// `wanted` bytes at `offset` and returns how many moved, 0 or less to stop.
template <typename Step> std::int64_t Transfer(std::int64_t count, Step step)
{
    std::int64_t total = 0;
    while (total < count) {
        const std::int64_t moved = step(total, std::min<std::int64_t>(count - total, 1 << 30));
        if (moved <= 0)
            break;
        total += moved;
    }
    return total;
}
} // namespace

#ifdef _WIN32

std::string LastSystemErrorText()
{
    DWORD code = GetLastError();
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = n ? std::wstring(text, n) : L"System error code: " + std::to_wstring(code);
    if (text)
        LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return WideToUtf8(message);
}

TFileStream::TFileStream(const std::string& fileName, unsigned mode) : fileName_(fileName)
{
    std::wstring wide = Utf8ToWide(fileName);
    if (mode == fmCreate) {
        handle_ = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE)
            throw EFCreateError(FormatText(kCreateError, {fileName, LastSystemErrorText()}));
        return;
    }
    DWORD access = (mode & 3) == fmOpenRead ? GENERIC_READ : (mode & 3) == fmOpenWrite ? GENERIC_WRITE : GENERIC_READ | GENERIC_WRITE;
    DWORD share = (mode & fmShareExclusive) ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
    handle_ = CreateFileW(wide.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE)
        throw EFOpenError(FormatText(kOpenError, {fileName, LastSystemErrorText()}));
}

TFileStream::~TFileStream() { CloseHandle(handle_); }

std::int64_t TFileStream::Read(void* buffer, std::int64_t count)
{
    return Transfer(count, [&](std::int64_t at, std::int64_t wanted) -> std::int64_t {
        DWORD got = 0;
        return ReadFile(handle_, static_cast<char*>(buffer) + at, static_cast<DWORD>(wanted), &got, nullptr) ? got : 0;
    });
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count)
{
    return Transfer(count, [&](std::int64_t at, std::int64_t wanted) -> std::int64_t {
        DWORD put = 0;
        return WriteFile(handle_, static_cast<const char*>(buffer) + at, static_cast<DWORD>(wanted), &put, nullptr) ? put
                                                                                                                     : 0;
    });
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    DWORD method = origin == TSeekOrigin::soBeginning ? FILE_BEGIN : origin == TSeekOrigin::soCurrent ? FILE_CURRENT : FILE_END;
    if (!SetFilePointerEx(handle_, distance, &result, method))
        return -1;
    return result.QuadPart;
}

std::int64_t TFileStream::Size()
{
    LARGE_INTEGER size;
    return GetFileSizeEx(handle_, &size) ? size.QuadPart : -1;
}

bool FileExists(const std::string& fileName)
{
    DWORD attributes = GetFileAttributesW(Utf8ToWide(fileName).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

#else

std::string LastSystemErrorText() { return std::strerror(errno); }

TFileStream::TFileStream(const std::string& fileName, unsigned mode) : fileName_(fileName)
{
    if (mode == fmCreate) {
        fd_ = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd_ < 0)
            throw EFCreateError(FormatText(kCreateError, {fileName, LastSystemErrorText()}));
        return;
    }
    int flags = (mode & 3) == fmOpenRead ? O_RDONLY : (mode & 3) == fmOpenWrite ? O_WRONLY : O_RDWR;
    fd_ = ::open(fileName.c_str(), flags | O_CLOEXEC);
    if (fd_ >= 0 && (mode & fmShareExclusive) && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        int saved = errno;
        ::close(fd_);
        fd_ = -1;
        errno = saved;
    }
    if (fd_ < 0)
        throw EFOpenError(FormatText(kOpenError, {fileName, LastSystemErrorText()}));
}

TFileStream::~TFileStream() { ::close(fd_); }

std::int64_t TFileStream::Read(void* buffer, std::int64_t count)
{
    return Transfer(count, [&](std::int64_t at, std::int64_t wanted) -> std::int64_t {
        ssize_t got;
        do
            got = ::read(fd_, static_cast<char*>(buffer) + at, static_cast<std::size_t>(wanted));
        while (got < 0 && errno == EINTR);
        return got;
    });
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count)
{
    return Transfer(count, [&](std::int64_t at, std::int64_t wanted) -> std::int64_t {
        ssize_t put;
        do
            put = ::write(fd_, static_cast<const char*>(buffer) + at, static_cast<std::size_t>(wanted));
        while (put < 0 && errno == EINTR);
        return put;
    });
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET : origin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
    return ::lseek(fd_, offset, whence);
}

std::int64_t TFileStream::Size()
{
    struct stat st;
    return ::fstat(fd_, &st) == 0 ? st.st_size : -1;
}

bool FileExists(const std::string& fileName)
{
    struct stat st;
    return ::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

#endif

void TFileStream::ReadBuffer(void* buffer, std::int64_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TFileStream::WriteBuffer(const void* buffer, std::int64_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError("Stream write error");
}
