#include "DataSector.h"

#include <cstring>

namespace demo {
namespace {

struct Tables {
  uint32_t Edc[256];
  uint8_t Double[256];     // multiplication by alpha in GF(2^8), polynomial 0x11D
  uint8_t Reciprocal[256]; // x -> y with y * (alpha + 1) = x
  Tables() {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t edc = i;
      for (int bit = 0; bit < 8; ++bit) edc = (edc >> 1) ^ (edc & 1 ? 0xD8018001u : 0);
      Edc[i] = edc;
      uint8_t twice = static_cast<uint8_t>((i << 1) ^ (i & 0x80 ? 0x11D : 0));
      Double[i] = twice;
      Reciprocal[i ^ twice] = static_cast<uint8_t>(i);
    }
  }
};

const Tables& T() {
  static const Tables tables;
  return tables;
}

uint8_t Bcd(uint32_t value) { return static_cast<uint8_t>((value / 10) << 4 | (value % 10)); }

// Reed-Solomon parity over the header and data (from byte 12), laid out as a matrix of
// 2-byte words: P covers 86 columns of 24 words, Q 52 diagonals of 43 words.
void Parity(uint8_t* sector, int majorCount, int minorCount, int majorStep, int minorStep, uint8_t* out) {
  const uint8_t* data = sector + 12;
  const int size = majorCount * minorCount;
  for (int major = 0; major < majorCount; ++major) {
    int index = (major >> 1) * majorStep + (major & 1);
    uint8_t a = 0, b = 0;
    for (int minor = 0; minor < minorCount; ++minor) {
      uint8_t value = data[index];
      index += minorStep;
      if (index >= size) index -= size;
      a ^= value;
      b ^= value;
      a = T().Double[a];
    }
    a = T().Reciprocal[T().Double[a] ^ b];
    out[major] = a;
    out[major + majorCount] = a ^ b;
  }
}

}  // namespace

uint32_t SectorEdc(const uint8_t* data, size_t count) {
  uint32_t edc = 0;
  for (size_t i = 0; i < count; ++i) edc = (edc >> 8) ^ T().Edc[(edc ^ data[i]) & 0xFF];
  return edc;
}

RawSector MakeMode1Sector(uint32_t lba, const uint8_t* userData2048) {
  RawSector s{};
  s[0] = 0x00;
  std::memset(&s[1], 0xFF, 10);
  s[11] = 0x00;
  uint32_t address = lba + 150;
  s[12] = Bcd(address / (60 * 75));
  s[13] = Bcd(address / 75 % 60);
  s[14] = Bcd(address % 75);
  s[15] = 0x01;
  std::memcpy(&s[16], userData2048, 2048);
  uint32_t edc = SectorEdc(s.data(), 2064);
  for (int i = 0; i < 4; ++i) s[2064 + i] = static_cast<uint8_t>(edc >> (8 * i));
  // Bytes 2068..2075 stay zero.
  Parity(s.data(), 86, 24, 2, 86, &s[2076]);
  Parity(s.data(), 52, 43, 86, 88, &s[2248]);
  return s;
}

}  // namespace demo
