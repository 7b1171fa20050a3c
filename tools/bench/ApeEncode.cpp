// kestrip-ape-encode LEVEL IN.wav OUT.ape [MINUTES]: compresses the PCM of a 16-bit WAV file
// with our library the way the APE output feeds it (176,400-byte reads handed over in the
// pieces the library offers). The whole process is what the bench times, so it streams the
// file. With MINUTES it reads the PCM over and over until that much audio has gone in (for
// the peak memory of a long rip without a long file).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "mac/MACDll.h"

namespace {

constexpr size_t kReadBytes = 176400;

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

struct WavData {
  int channels = 0;
  int sampleRate = 0;
  uint64_t bytes = 0;  // of the data chunk, from the current position
};

// Leaves the file at the start of the PCM.
bool OpenWav(FILE* in, WavData& wav) {
  uint8_t riff[12];
  if (std::fread(riff, 1, 12, in) != 12 || std::memcmp(riff, "RIFF", 4) ||
      std::memcmp(riff + 8, "WAVE", 4))
    return false;
  bool haveFormat = false;
  for (uint8_t chunk[8]; std::fread(chunk, 1, 8, in) == 8;) {
    const uint32_t size = Le32(chunk + 4);
    if (!std::memcmp(chunk, "data", 4)) {
      wav.bytes = size;
      return haveFormat;
    }
    std::vector<uint8_t> body(size + (size & 1));
    if (std::fread(body.data(), 1, body.size(), in) != body.size()) return false;
    if (!std::memcmp(chunk, "fmt ", 4) && size >= 16) {
      if (Le16(&body[0]) != 1 || Le16(&body[14]) != 16) return false;
      wav.channels = Le16(&body[2]);
      wav.sampleRate = int(Le32(&body[4]));
      haveFormat = true;
    }
  }
  return false;
}

int Fail(const char* what, int32_t code = 0) {
  std::fprintf(stderr, "kestrip-ape-encode: %s (%d)\n", what, code);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr, "usage: kestrip-ape-encode LEVEL IN.wav OUT.ape [MINUTES]\n");
    return 2;
  }
  const int level = std::atoi(argv[1]);
  File in(std::fopen(argv[2], "rb"));
  WavData wav;
  if (!in || !OpenWav(in.get(), wav) || wav.bytes == 0) return Fail("not a 16-bit PCM WAV file");
  const long pcmStart = std::ftell(in.get());
  const uint64_t blockAlign = uint64_t(wav.channels) * 2;
  const uint64_t total = argc == 5 ? uint64_t(std::atof(argv[4]) * 60 * wav.sampleRate) * blockAlign
                                   : wav.bytes;

  int32_t error = 0;
  void* handle = c_APECompress_Create(&error);
  if (!handle) return Fail("cannot create a compressor", error);
  TWaveFormatEx format;
  FillWaveFormatEx(&format, wav.sampleRate, 16, wav.channels);
  int32_t result = c_APECompress_Start(handle, argv[3], &format, MAC_MAX_AUDIO_BYTES_UNKNOWN,
                                       level, nullptr, MAC_CREATE_WAV_HEADER_ON_DECOMPRESSION);
  std::vector<uint8_t> buffer(kReadBytes);
  uint64_t inPass = wav.bytes;  // left of the data chunk in this pass over the file
  for (uint64_t left = total; result == 0 && left > 0;) {
    if (inPass == 0) {
      std::fseek(in.get(), pcmStart, SEEK_SET);
      inPass = wav.bytes;
    }
    const size_t want = size_t(std::min<uint64_t>({left, inPass, kReadBytes}));
    const size_t n = std::fread(buffer.data(), 1, want, in.get());
    if (n == 0) break;  // a data chunk longer than the file: take what is there
    left -= n;
    inPass -= n;
    for (size_t done = 0; result == 0 && done < n;) {
      int32_t room = 0;
      uint8_t* target = c_APECompress_LockBuffer(handle, &room);
      if (!target || room <= 0) {
        result = -1;
        break;
      }
      const size_t piece = std::min(size_t(room), n - done);
      std::memcpy(target, buffer.data() + done, piece);
      result = c_APECompress_UnlockBuffer(handle, int32_t(piece), 1);
      done += piece;
    }
  }
  if (result == 0) result = c_APECompress_Finish(handle, nullptr, 0, 0);
  c_APECompress_Destroy(handle);
  return result == 0 ? 0 : Fail("compression failed", result);
}
