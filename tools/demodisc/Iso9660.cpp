#include "Iso9660.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace demo {
namespace {

constexpr size_t kBlock = 2048;
// A fixed date keeps the image the same on every run: 2024-01-01 00:00:00 UTC.
constexpr uint8_t kRecordDate[7] = {124, 1, 1, 0, 0, 0, 0};
constexpr char kVolumeDate[] = "2024010100000000";

using Block = std::vector<uint8_t>;

void Both16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}

void Little32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

void Big32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * (3 - i)));
}

void Both32(uint8_t* p, uint32_t v) {
  Little32(p, v);
  Big32(p + 4, v);
}

void Text(uint8_t* p, size_t width, const std::string& text) {
  std::memset(p, ' ', width);
  std::memcpy(p, text.data(), std::min(width, text.size()));
}

// A directory record; identifier 0x00 is the directory itself, 0x01 its parent.
std::vector<uint8_t> Record(const std::string& id, uint32_t extent, uint32_t length, bool directory) {
  size_t size = 33 + id.size();
  size += size % 2;
  std::vector<uint8_t> r(size, 0);
  r[0] = static_cast<uint8_t>(size);
  Both32(&r[2], extent);
  Both32(&r[10], length);
  std::memcpy(&r[18], kRecordDate, 7);
  r[25] = directory ? 0x02 : 0x00;
  Both16(&r[28], 1);
  r[32] = static_cast<uint8_t>(id.size());
  std::memcpy(&r[33], id.data(), id.size());
  return r;
}

void VolumeDate(uint8_t* p) {
  std::memcpy(p, kVolumeDate, 16);
  p[16] = 0;
}

}  // namespace

std::vector<Block> BuildIsoVolume(const std::string& volumeId, const std::vector<IsoFile>& files,
                                  uint32_t firstBlock, uint32_t totalBlocks) {
  // Layout: 16 system blocks, descriptor, terminator, two path tables, root, file data.
  const uint32_t pvd = 16, lPath = 18, mPath = 19, root = 20;
  uint32_t next = 21;
  std::vector<uint32_t> fileStart;
  for (const IsoFile& f : files) {
    fileStart.push_back(next);
    next += static_cast<uint32_t>((f.Content.size() + kBlock - 1) / kBlock);
  }
  if (next > totalBlocks) throw std::runtime_error("volume too small");

  std::vector<Block> blocks(totalBlocks, Block(kBlock, 0));

  Block& d = blocks[pvd];
  d[0] = 1;
  std::memcpy(&d[1], "CD001", 5);
  d[6] = 1;
  Text(&d[8], 32, "");
  Text(&d[40], 32, volumeId);
  Both32(&d[80], totalBlocks);
  Both16(&d[120], 1);
  Both16(&d[124], 1);
  Both16(&d[128], kBlock);
  Both32(&d[132], 10);  // path table: one 10-byte entry
  Little32(&d[140], firstBlock + lPath);
  Big32(&d[148], firstBlock + mPath);
  auto rootRecord = Record(std::string(1, '\0'), firstBlock + root, kBlock, true);
  std::memcpy(&d[156], rootRecord.data(), 34);
  Text(&d[190], 128, "");
  Text(&d[318], 128, "KESTRIP");
  Text(&d[446], 128, "KESTRIP DEMODISC");
  Text(&d[574], 128, "");
  Text(&d[702], 37, "");
  Text(&d[739], 37, "");
  Text(&d[776], 37, "");
  VolumeDate(&d[813]);
  VolumeDate(&d[830]);
  std::memset(&d[847], '0', 16);
  std::memset(&d[864], '0', 16);
  d[881] = 1;

  Block& end = blocks[pvd + 1];
  end[0] = 255;
  std::memcpy(&end[1], "CD001", 5);
  end[6] = 1;

  // Path tables: the root only.
  blocks[lPath][0] = 1;
  Little32(&blocks[lPath][2], firstBlock + root);
  blocks[lPath][6] = 1;
  blocks[mPath][0] = 1;
  Big32(&blocks[mPath][2], firstBlock + root);
  blocks[mPath][7] = 1;

  std::vector<uint8_t> dir;
  for (const auto& r : {Record(std::string(1, '\0'), firstBlock + root, kBlock, true),
                        Record(std::string(1, '\1'), firstBlock + root, kBlock, true)})
    dir.insert(dir.end(), r.begin(), r.end());
  for (size_t i = 0; i < files.size(); ++i) {
    auto r = Record(files[i].Name + ";1", firstBlock + fileStart[i],
                    static_cast<uint32_t>(files[i].Content.size()), false);
    dir.insert(dir.end(), r.begin(), r.end());
  }
  if (dir.size() > kBlock) throw std::runtime_error("directory too large");
  std::copy(dir.begin(), dir.end(), blocks[root].begin());

  for (size_t i = 0; i < files.size(); ++i) {
    const std::string& c = files[i].Content;
    for (size_t at = 0; at < c.size(); at += kBlock) {
      Block& b = blocks[fileStart[i] + at / kBlock];
      std::memcpy(b.data(), c.data() + at, std::min(kBlock, c.size() - at));
    }
  }
  return blocks;
}

}  // namespace demo
