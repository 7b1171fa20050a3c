// File access by UTF-8 path (wide-character calls on Windows).
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace cdrip {

std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// The whole file as bytes, or nothing if it cannot be read or exceeds maxBytes.
std::optional<std::string> ReadSmallFile(const std::filesystem::path& path, size_t maxBytes);

// A file opened for reading at arbitrary offsets.
class ReadOnlyFile {
public:
  explicit ReadOnlyFile(const std::filesystem::path& path);
  ~ReadOnlyFile();
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  // Bytes read; fewer than count at the end of the file or on an error.
  size_t ReadAt(uint64_t offset, void* out, size_t count);

private:
  std::FILE* file_ = nullptr;
};

}  // namespace cdrip
