// Parser of CUE sheet text. The text comes from files anyone can hand us, so every field is
// checked and anything outside the subset we can play back is refused with a reason.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cdrip {

struct CueTrack {
  int Number = 0;
  bool IsAudio = true;
  uint8_t Control = 0;       // from FLAGS: 0x01 PRE, 0x02 DCP, 0x08 4CH; 0x04 is set for data
  int File = 0;              // index into CueSheet::Files
  uint32_t Start = 0;        // INDEX 01, in sectors from the start of its file
  std::string Title;
};

struct CueSheet {
  std::string Title;
  std::vector<std::string> Files;  // as written in the sheet (UTF-8, may be relative)
  std::vector<CueTrack> Tracks;
};

struct CueResult {
  std::optional<CueSheet> Sheet;
  std::string Error;  // why the text was refused, with its line number
};

CueResult ParseCueSheet(std::string_view text);

}  // namespace cdrip
