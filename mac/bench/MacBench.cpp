// kestrip-mac-bench CORPUS_DIR: compression ratio of each level on the music corpus next to
// `flac -8`, and encoding speed in multiples of real time. Prints figures; asserts nothing.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "mac/MACDll.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kLevels[] = {1000, 2000, 3000, 4000};

struct Pcm {
  std::vector<uint8_t> bytes;
  int channels = 0;
  int sampleRate = 0;
  double Seconds() const { return bytes.size() / (2.0 * channels * sampleRate); }
};

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

bool ReadWav(const fs::path& path, Pcm& pcm) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), {});
  if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) || std::memcmp(file.data() + 8, "WAVE", 4))
    return false;
  for (size_t at = 12; at + 8 <= file.size();) {
    const uint32_t size = Le32(&file[at + 4]);
    const uint8_t* body = &file[at + 8];
    if (!std::memcmp(&file[at], "fmt ", 4)) {
      pcm.channels = body[2] | body[3] << 8;
      pcm.sampleRate = int(Le32(body + 4));
      if ((body[14] | body[15] << 8) != 16) return false;
    } else if (!std::memcmp(&file[at], "data", 4)) {
      const size_t n = std::min<size_t>(size, file.size() - at - 8);
      pcm.bytes.assign(body, body + n);
      return pcm.channels > 0;
    }
    at += 8 + size + (size & 1);
  }
  return false;
}

// Encodes like the ripper does: 65,536-byte reads handed over in the pieces the library offers.
double Encode(const Pcm& pcm, int level, const fs::path& out) {
  const auto start = Clock::now();
  int32_t error = 0;
  void* handle = c_APECompress_Create(&error);
  TWaveFormatEx format;
  FillWaveFormatEx(&format, pcm.sampleRate, 16, pcm.channels);
  if (c_APECompress_Start(handle, out.string().c_str(), &format, MAC_MAX_AUDIO_BYTES_UNKNOWN,
                          level, nullptr, MAC_CREATE_WAV_HEADER_ON_DECOMPRESSION) != 0) {
    std::fprintf(stderr, "cannot start %s\n", out.c_str());
    std::exit(1);
  }
  for (size_t at = 0; at < pcm.bytes.size();) {
    int32_t room = 0;
    uint8_t* buffer = c_APECompress_LockBuffer(handle, &room);
    const size_t piece = std::min({size_t(room), size_t(65536), pcm.bytes.size() - at});
    if (!buffer || piece == 0) std::exit(1);
    std::memcpy(buffer, pcm.bytes.data() + at, piece);
    if (c_APECompress_UnlockBuffer(handle, int32_t(piece), 1) != 0) std::exit(1);
    at += piece;
  }
  const int32_t finished = c_APECompress_Finish(handle, nullptr, 0, 0);
  c_APECompress_Destroy(handle);
  if (finished != 0) std::exit(1);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double FlacEncode(const fs::path& wav, const fs::path& out) {
  const auto start = Clock::now();
  const std::string command = "flac -8 -f -s -o '" + out.string() + "' '" + wav.string() + "'";
  if (std::system(command.c_str()) != 0) return -1;
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
    return 2;
  }
  const fs::path corpus = argv[1];
  const char* names[] = {"track01.wav", "track02.wav", "track03.wav", "synth60.wav"};
  char scratchTemplate[] = "/tmp/kestrip-mac-bench-XXXXXX";
  if (!mkdtemp(scratchTemplate)) return 1;
  const fs::path scratch = scratchTemplate;

  std::printf("APE (MACDll) vs flac -8; sizes as %% of the PCM; speed in x real time\n\n");
  std::printf("%-12s %7s %11s", "file", "seconds", "PCM bytes");
  for (int level : kLevels) std::printf("  ape %4d", level);
  std::printf("   flac -8\n");

  double seconds = 0, encodeTime[4] = {}, flacTime = 0;
  uint64_t pcmTotal = 0, apeTotal[4] = {}, flacTotal = 0;
  bool flacOk = true;
  for (const char* name : names) {
    Pcm pcm;
    if (!ReadWav(corpus / name, pcm)) {
      std::fprintf(stderr, "missing or unreadable: %s (build the corpus first)\n",
                   (corpus / name).c_str());
      return 1;
    }
    std::printf("%-12s %7.1f %11zu", name, pcm.Seconds(), pcm.bytes.size());
    for (int i = 0; i < 4; ++i) {
      const fs::path out = scratch / (std::to_string(kLevels[i]) + ".ape");
      encodeTime[i] += Encode(pcm, kLevels[i], out);
      const uint64_t size = fs::file_size(out);
      apeTotal[i] += size;
      std::printf("  %7.2f%%", 100.0 * size / pcm.bytes.size());
    }
    const double t = FlacEncode(corpus / name, scratch / "x.flac");
    flacOk = flacOk && t >= 0;
    if (t >= 0) {
      flacTime += t;
      const uint64_t size = fs::file_size(scratch / "x.flac");
      flacTotal += size;
      std::printf("  %7.2f%%\n", 100.0 * size / pcm.bytes.size());
    } else {
      std::printf("  %8s\n", "n/a");
    }
    seconds += pcm.Seconds();
    pcmTotal += pcm.bytes.size();
  }
  std::printf("%-12s %7.1f %11llu", "all", seconds, (unsigned long long)pcmTotal);
  for (uint64_t size : apeTotal) std::printf("  %7.2f%%", 100.0 * size / pcmTotal);
  if (flacOk)
    std::printf("  %7.2f%%\n", 100.0 * flacTotal / pcmTotal);
  else
    std::printf("  %8s\n", "n/a");

  std::printf("%-12s %7s %11s", "speed", "", "");
  for (double t : encodeTime) std::printf("  %7.1fx", seconds / t);
  if (flacOk)
    std::printf("  %7.1fx\n", seconds / flacTime);
  else
    std::printf("\n");
  std::printf("\n(one thread; the flac figure includes starting the flac program and reading the WAV)\n");

  fs::remove_all(scratch);
  return 0;
}
