// A CUE sheet with its raw BIN file(s), played back as a CD drive with a tray.
#pragma once

#include "Drive.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cdrip {

class ReadOnlyFile;

// Where the sectors of the disc are: consecutive stretches of the image's files.
struct ImageLayout {
  struct Segment {
    std::filesystem::path Path;
    uint32_t First = 0;  // first disc sector held by the file
    uint32_t Count = 0;
  };
  std::vector<Segment> Segments;
  Toc Contents;
};

struct ImageLayoutResult {
  std::optional<ImageLayout> Layout;
  std::string Error;
};

// Reads the sheet and sizes its files as they are now.
ImageLayoutResult LoadImageLayout(const std::filesystem::path& cuePath);

class ImageDrive : public Drive {
public:
  explicit ImageDrive(const std::filesystem::path& cuePath);
  ~ImageDrive() override;

  std::string Name() const override { return name_; }
  bool MediaLoaded() override;
  bool AudioPlaying() override { return false; }
  std::optional<Toc> ReadToc() override;
  int ReadSectors(uint32_t lba, int count, uint8_t* out) override;
  void EndReading() override;
  bool Eject(bool open) override;

private:
  int ReadFromSegment(size_t segment, uint32_t lba, int count, uint8_t* out);

  std::filesystem::path cuePath_;
  std::string name_;
  bool trayOpen_ = false;
  std::optional<ImageLayout> layout_;
  std::vector<std::unique_ptr<ReadOnlyFile>> files_;  // one per segment, opened on demand
};

}  // namespace cdrip
