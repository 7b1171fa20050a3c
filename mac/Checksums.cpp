#include "Checksums.h"

#include <algorithm>
#include <cstring>
#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace mac {

namespace {

struct CrcTable {
  uint32_t entries[8][256];
  constexpr CrcTable() : entries{} {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      entries[0][i] = c;
    }
    // Tables for eight bytes at a time: entries[k][i] is entries[0][i] advanced by k zero bytes.
    for (uint32_t i = 0; i < 256; ++i)
      for (int k = 1; k < 8; ++k)
        entries[k][i] = (entries[k - 1][i] >> 8) ^ entries[0][entries[k - 1][i] & 0xFF];
  }
};

constexpr CrcTable kCrc;

uint32_t LoadLE32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint32_t Rotl(uint32_t v, int s) { return (v << s) | (v >> (32 - s)); }

// Table-driven CRC register update (no pre- or post-inversion).
uint32_t UpdateCrcTable(uint32_t c, const uint8_t* data, size_t size) {
  const auto& t = kCrc.entries;
  for (; size >= 8; size -= 8, data += 8) {
    c ^= LoadLE32(data);
    const uint32_t high = LoadLE32(data + 4);
    c = t[7][c & 0xFF] ^ t[6][(c >> 8) & 0xFF] ^ t[5][(c >> 16) & 0xFF] ^ t[4][c >> 24] ^
        t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
  }
  for (; size > 0; --size) c = kCrc.entries[0][(c ^ *data++) & 0xFF] ^ (c >> 8);
  return c;
}

#if defined(__x86_64__) || defined(__i386__)
// Carry-less multiplication folds 64 bytes at a time: a 128-bit block followed by n more
// bits leaves the CRC as its two halves multiplied by x^(n+64) and x^n (mod P, in the
// reflected bit order) and added to the data n bits on. The register's value goes into the
// first block; what is left after folding (one block and the tail) goes through the table.
__attribute__((target("pclmul,sse2"))) inline __m128i Fold(__m128i x, __m128i k, __m128i next) {
  return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11)),
                       next);
}

__attribute__((target("pclmul,sse2"))) inline __m128i Load16(const uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

__attribute__((target("pclmul,sse2"))) uint32_t UpdateCrcFolding(uint32_t c, const uint8_t* data,
                                                                  size_t size) {
  // x^(512+32), x^(512-32) and x^(128+32), x^(128-32) mod P, bit-reflected.
  const __m128i by512 = _mm_set_epi64x(0x1c6e41596, 0x154442bd4);
  const __m128i by128 = _mm_set_epi64x(0x0ccaa009e, 0x1751997d0);
  __m128i x0 = _mm_xor_si128(Load16(data), _mm_cvtsi32_si128(int32_t(c)));
  __m128i x1 = Load16(data + 16), x2 = Load16(data + 32), x3 = Load16(data + 48);
  data += 64;
  size -= 64;
  for (; size >= 64; size -= 64, data += 64) {
    x0 = Fold(x0, by512, Load16(data));
    x1 = Fold(x1, by512, Load16(data + 16));
    x2 = Fold(x2, by512, Load16(data + 32));
    x3 = Fold(x3, by512, Load16(data + 48));
  }
  __m128i x = Fold(Fold(Fold(x0, by128, x1), by128, x2), by128, x3);
  for (; size >= 16; size -= 16, data += 16) x = Fold(x, by128, Load16(data));
  alignas(16) uint8_t last[16];
  _mm_store_si128(reinterpret_cast<__m128i*>(last), x);
  return UpdateCrcTable(UpdateCrcTable(0, last, 16), data, size);
}

bool HasCarrylessMultiply() {
  __builtin_cpu_init();
  static const bool has = __builtin_cpu_supports("pclmul");
  return has;
}
#endif

}  // namespace

uint32_t Crc32Reference(const uint8_t* data, size_t size) {
  return UpdateCrcTable(0xFFFFFFFFu, data, size) ^ 0xFFFFFFFFu;
}

uint32_t Crc32(const uint8_t* data, size_t size) {
#if defined(__x86_64__) || defined(__i386__)
  if (size >= 64 && HasCarrylessMultiply()) return UpdateCrcFolding(0xFFFFFFFFu, data, size) ^ 0xFFFFFFFFu;
#endif
  return Crc32Reference(data, size);
}

Md5::Md5() : state_{0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u} {}

namespace {

constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613,
    0xfd469501, 0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193,
    0xa679438e, 0x49b40821, 0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d,
    0x02441453, 0xd8a1e681, 0xe7d3fbc8, 0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed,
    0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a, 0xfffa3942, 0x8771f681, 0x6d9d6122,
    0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70, 0x289b7ec6, 0xeaa127fa,
    0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665, 0xf4292244,
    0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb,
    0xeb86d391};
constexpr int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

// Step i of the 64, with every index a constant: the four words rotate through v instead
// of being moved, so they stay in registers.
template <int i>
[[gnu::always_inline]] inline void Md5Step(uint32_t (&v)[4], const uint32_t (&m)[16]) {
  constexpr int round = i / 16;
  uint32_t& a = v[(64 - i) % 4];
  const uint32_t b = v[(65 - i) % 4], c = v[(66 - i) % 4], d = v[(67 - i) % 4];
  uint32_t f;
  int g;
  if constexpr (round == 0) {
    f = d ^ (b & (c ^ d));
    g = i;
  } else if constexpr (round == 1) {
    f = c ^ (d & (b ^ c));
    g = (5 * i + 1) % 16;
  } else if constexpr (round == 2) {
    f = b ^ c ^ d;
    g = (3 * i + 5) % 16;
  } else {
    f = c ^ (b | ~d);
    g = (7 * i) % 16;
  }
  a = b + Rotl(a + f + kSine[i] + m[g], kShift[round][i % 4]);
}

template <int... I>
[[gnu::always_inline]] inline void Md5Steps(uint32_t (&v)[4], const uint32_t (&m)[16],
                                            std::integer_sequence<int, I...>) {
  (Md5Step<I>(v, m), ...);
}

}  // namespace

void Md5::Transform(const uint8_t* block) {
  uint32_t m[16];
  for (int i = 0; i < 16; ++i) m[i] = LoadLE32(block + 4 * i);
  uint32_t v[4] = {state_[0], state_[1], state_[2], state_[3]};
  Md5Steps(v, m, std::make_integer_sequence<int, 64>());
  for (int k = 0; k < 4; ++k) state_[k] += v[k];
}

void Md5::Update(const void* data, size_t size) {
  if (size == 0) return;  // an empty piece may come without a buffer
  auto* bytes = static_cast<const uint8_t*>(data);
  size_t used = length_ % 64;
  length_ += size;
  if (used > 0) {
    const size_t take = std::min(size, 64 - used);
    std::memcpy(pending_.data() + used, bytes, take);
    bytes += take;
    size -= take;
    if (used + take < 64) return;
    Transform(pending_.data());
  }
  for (; size >= 64; size -= 64, bytes += 64) Transform(bytes);
  std::memcpy(pending_.data(), bytes, size);
}

std::array<uint8_t, 16> Md5::Final() {
  const uint64_t bits = length_ * 8;
  const uint8_t pad = 0x80;
  Update(&pad, 1);
  const uint8_t zero[64] = {};
  Update(zero, (56 + 64 - length_ % 64) % 64);
  uint8_t tail[8];
  for (int i = 0; i < 8; ++i) tail[i] = uint8_t(bits >> (8 * i));
  Update(tail, 8);
  std::array<uint8_t, 16> digest;
  for (int i = 0; i < 16; ++i) digest[i] = uint8_t(state_[i / 4] >> (8 * (i % 4)));
  return digest;
}

}  // namespace mac
