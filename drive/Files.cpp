#include "Files.h"

#include <system_error>

namespace cdrip {

std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

static std::FILE* OpenForReading(const std::filesystem::path& path) {
#ifdef _WIN32
  return _wfopen(path.c_str(), L"rb");
#else
  return std::fopen(path.c_str(), "rb");
#endif
}

std::optional<std::string> ReadSmallFile(const std::filesystem::path& path, size_t maxBytes) {
  std::FILE* file = OpenForReading(path);
  if (!file) return std::nullopt;
  std::string data;
  char block[4096];
  size_t got;
  bool tooBig = false;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
    if (data.size() + got > maxBytes) {
      tooBig = true;
      break;
    }
    data.append(block, got);
  }
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (tooBig || failed) return std::nullopt;
  return data;
}

ReadOnlyFile::ReadOnlyFile(const std::filesystem::path& path) : file_(OpenForReading(path)) {}

ReadOnlyFile::~ReadOnlyFile() {
  if (file_) std::fclose(file_);
}

size_t ReadOnlyFile::ReadAt(uint64_t offset, void* out, size_t count) {
  if (!file_) return 0;
#ifdef _WIN32
  if (_fseeki64(file_, static_cast<__int64>(offset), SEEK_SET) != 0) return 0;
#else
  if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) return 0;
#endif
  size_t got = std::fread(out, 1, count, file_);
  std::clearerr(file_);
  return got;
}

}  // namespace cdrip
