// The file the compressor writes: created (or truncated) from a UTF-8 path, written
// sequentially, with one seek back to the start for the final header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace mac {

class OutputFile {
 public:
  // Throws MacError{MAC_ERROR_INVALID_OUTPUT_FILE} when the file cannot be created.
  explicit OutputFile(const std::string& utf8Path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Throw MacError{MAC_ERROR_IO_WRITE} on failure.
  void Write(const void* data, size_t size);
  void SeekToStart();
  void Close();

 private:
#if defined(_WIN32)
  void* handle_;
#else
  int fd_;
#endif
};

}  // namespace mac
