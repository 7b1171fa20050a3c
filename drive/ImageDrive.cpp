#include "ImageDrive.h"

#include "CueSheet.h"
#include "Files.h"

#include <system_error>

namespace cdrip {
namespace {

constexpr size_t kMaxCueBytes = 256 * 1024;
constexpr uint64_t kMaxDiscSectors = 0x7FFFFFFF;  // sector numbers travel as int32
constexpr size_t kMaxNameBytes = 254;

std::optional<CueSheet> ReadCueSheet(const std::filesystem::path& cuePath, std::string& error) {
  auto text = ReadSmallFile(cuePath, kMaxCueBytes);
  if (!text) {
    error = "cannot read the sheet";
    return std::nullopt;
  }
  CueResult parsed = ParseCueSheet(*text);
  if (!parsed.Sheet) error = parsed.Error;
  return std::move(parsed.Sheet);
}

// Cuts a UTF-8 text to at most max bytes without splitting a character.
std::string ClipUtf8(std::string text, size_t max) {
  if (text.size() <= max) return text;
  size_t cut = max;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  text.resize(cut);
  return text;
}

}  // namespace

ImageLayoutResult LoadImageLayout(const std::filesystem::path& cuePath) {
  ImageLayoutResult result;
  auto sheet = ReadCueSheet(cuePath, result.Error);
  if (!sheet) return result;

  ImageLayout layout;
  uint64_t total = 0;
  for (const std::string& name : sheet->Files) {
    std::filesystem::path path = cuePath.parent_path() / PathFromUtf8(name);
    std::error_code ec;
    uintmax_t bytes = std::filesystem::file_size(path, ec);
    if (ec) {
      result.Error = "missing file " + name;
      return result;
    }
    uint64_t sectors = bytes / kSectorBytes;
    if (total + sectors > kMaxDiscSectors) {
      result.Error = "image too large";
      return result;
    }
    layout.Segments.push_back({path, static_cast<uint32_t>(total), static_cast<uint32_t>(sectors)});
    total += sectors;
  }

  for (const CueTrack& track : sheet->Tracks) {
    const ImageLayout::Segment& segment = layout.Segments[static_cast<size_t>(track.File)];
    // Covers a file shorter than the sheet says: the track must begin inside its file.
    if (track.Start >= segment.Count) {
      result.Error = "track " + std::to_string(track.Number) + " lies beyond the end of its file";
      return result;
    }
    uint32_t start = segment.First + track.Start;
    auto& entries = layout.Contents.Entries;
    if (!entries.empty() && start <= entries.back().StartSector) {
      result.Error = "track " + std::to_string(track.Number) + " is empty";
      return result;
    }
    entries.push_back({start, static_cast<uint8_t>(0x10 | track.Control),
                       static_cast<uint8_t>(track.Number)});
  }
  layout.Contents.Entries.push_back({static_cast<uint32_t>(total), 0x10, 0xAA});
  result.Layout = std::move(layout);
  return result;
}

ImageDrive::ImageDrive(const std::filesystem::path& cuePath) : cuePath_(cuePath) {
  std::string error;
  auto sheet = ReadCueSheet(cuePath, error);
  std::string title = sheet && !sheet->Title.empty() ? sheet->Title
                                                      : Utf8FromPath(cuePath.stem());
  name_ = ClipUtf8("Image: " + title, kMaxNameBytes);
}

ImageDrive::~ImageDrive() = default;

bool ImageDrive::MediaLoaded() {
  std::error_code ec;
  return !trayOpen_ && std::filesystem::is_regular_file(cuePath_, ec);
}

std::optional<Toc> ImageDrive::ReadToc() {
  EndReading();
  layout_.reset();
  if (!MediaLoaded()) return std::nullopt;
  layout_ = std::move(LoadImageLayout(cuePath_).Layout);
  if (!layout_) return std::nullopt;
  files_.resize(layout_->Segments.size());
  return layout_->Contents;
}

int ImageDrive::ReadSectors(uint32_t lba, int count, uint8_t* out) {
  // An image whose sheet went away is a disc taken out: reads fail as they would.
  if (!MediaLoaded()) return 0;
  if (!layout_ && !ReadToc()) return 0;
  int done = 0;
  while (done < count) {
    uint32_t at = lba + static_cast<uint32_t>(done);
    size_t segment = 0;
    while (segment < layout_->Segments.size() &&
           at >= layout_->Segments[segment].First + layout_->Segments[segment].Count)
      ++segment;
    if (segment == layout_->Segments.size()) break;
    int got = ReadFromSegment(segment, at, count - done, out + size_t(done) * kSectorBytes);
    done += got;
    if (got == 0) break;
  }
  return done;
}

int ImageDrive::ReadFromSegment(size_t segment, uint32_t lba, int count, uint8_t* out) {
  const ImageLayout::Segment& s = layout_->Segments[segment];
  auto& file = files_[segment];
  if (!file) file = std::make_unique<ReadOnlyFile>(s.Path);
  if (!file->IsOpen()) {
    file.reset();
    return 0;
  }
  uint32_t offset = lba - s.First;
  int wanted = static_cast<int>(std::min<uint32_t>(static_cast<uint32_t>(count), s.Count - offset));
  size_t got = file->ReadAt(uint64_t(offset) * kSectorBytes, out, size_t(wanted) * kSectorBytes);
  return static_cast<int>(got / kSectorBytes);
}

void ImageDrive::EndReading() {
  for (auto& file : files_) file.reset();
}

bool ImageDrive::Eject(bool open) {
  trayOpen_ = open;
  if (open) {
    EndReading();
    layout_.reset();
  }
  return true;
}

}  // namespace cdrip
