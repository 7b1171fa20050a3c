#include "OutputFile.h"

#include "MACDll.h"
#include "MacError.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace mac {

#if defined(_WIN32)

namespace {

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()),
                                    nullptr, 0);
  if (n <= 0) throw MacError{MAC_ERROR_INVALID_OUTPUT_FILE};
  std::wstring wide(size_t(n), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), wide.data(), n);
  return wide;
}

}  // namespace

OutputFile::OutputFile(const std::string& utf8Path) {
  const std::wstring path = Widen(utf8Path);
  handle_ = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) throw MacError{MAC_ERROR_INVALID_OUTPUT_FILE};
}

OutputFile::~OutputFile() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

void OutputFile::Write(const void* data, size_t size) {
  auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const DWORD chunk = DWORD(size < (1u << 30) ? size : (1u << 30));
    DWORD written = 0;
    if (handle_ == INVALID_HANDLE_VALUE || !WriteFile(handle_, bytes, chunk, &written, nullptr) ||
        written == 0)
      throw MacError{MAC_ERROR_IO_WRITE};
    bytes += written;
    size -= written;
  }
}

void OutputFile::SeekToStart() {
  if (handle_ == INVALID_HANDLE_VALUE ||
      SetFilePointer(handle_, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
    throw MacError{MAC_ERROR_IO_WRITE};
}

void OutputFile::Close() {
  if (handle_ == INVALID_HANDLE_VALUE) return;
  const BOOL ok = CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  if (!ok) throw MacError{MAC_ERROR_IO_WRITE};
}

#else

OutputFile::OutputFile(const std::string& utf8Path) {
  fd_ = utf8Path.empty() ? -1 : ::open(utf8Path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) throw MacError{MAC_ERROR_INVALID_OUTPUT_FILE};
}

OutputFile::~OutputFile() {
  if (fd_ >= 0) ::close(fd_);
}

void OutputFile::Write(const void* data, size_t size) {
  auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = fd_ < 0 ? -1 : ::write(fd_, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) throw MacError{MAC_ERROR_IO_WRITE};
    bytes += written;
    size -= size_t(written);
  }
}

void OutputFile::SeekToStart() {
  if (fd_ < 0 || ::lseek(fd_, 0, SEEK_SET) != 0) throw MacError{MAC_ERROR_IO_WRITE};
}

void OutputFile::Close() {
  if (fd_ < 0) return;
  const int result = ::close(fd_);
  fd_ = -1;
  if (result != 0) throw MacError{MAC_ERROR_IO_WRITE};
}

#endif

}  // namespace mac
