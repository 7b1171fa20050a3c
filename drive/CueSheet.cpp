#include "CueSheet.h"

#include <cctype>

namespace cdrip {
namespace {

constexpr int kMaxTracks = 99;
constexpr size_t kMaxTokensPerLine = 8;

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// Splits one line into words; a word in double quotes may hold blanks. No escapes exist in
// the format. Returns false for an unterminated quote or an absurd number of words.
bool Tokenize(std::string_view line, std::vector<std::string>& words) {
  words.clear();
  size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t') {
      ++i;
      continue;
    }
    if (words.size() == kMaxTokensPerLine) return false;
    if (c == '"') {
      size_t close = line.find('"', i + 1);
      if (close == std::string_view::npos) return false;
      words.emplace_back(line.substr(i + 1, close - i - 1));
      i = close + 1;
    } else {
      size_t end = i;
      while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
      words.emplace_back(line.substr(i, end - i));
      i = end;
    }
  }
  return true;
}

std::optional<int> SmallNumber(std::string_view text, int max) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > max) return std::nullopt;
  return value;
}

// mm:ss:ff, frames being sectors (75 per second).
std::optional<uint32_t> ParseMsf(std::string_view text) {
  size_t c1 = text.find(':');
  if (c1 == std::string_view::npos) return std::nullopt;
  size_t c2 = text.find(':', c1 + 1);
  if (c2 == std::string_view::npos) return std::nullopt;
  auto m = SmallNumber(text.substr(0, c1), 999);
  auto s = SmallNumber(text.substr(c1 + 1, c2 - c1 - 1), 59);
  auto f = SmallNumber(text.substr(c2 + 1), 74);
  if (!m || !s || !f) return std::nullopt;
  return static_cast<uint32_t>((*m * 60 + *s) * 75 + *f);
}

class Parser {
public:
  CueResult Run(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    size_t lineStart = 0;
    int lineNumber = 0;
    std::vector<std::string> words;
    while (lineStart <= text.size()) {
      size_t end = text.find('\n', lineStart);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(lineStart, end - lineStart);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      ++lineNumber;
      lineStart = end + 1;
      if (line.find('\0') != std::string_view::npos) return Fail(lineNumber, "NUL in text");
      if (!Tokenize(line, words)) return Fail(lineNumber, "unreadable line");
      if (words.empty()) continue;
      if (!Command(words)) return Fail(lineNumber, error_);
    }
    if (!FinishTrack()) return Fail(lineNumber, error_);
    if (sheet_.Tracks.empty()) return Fail(lineNumber, "no tracks");
    CueResult result;
    result.Sheet = std::move(sheet_);
    return result;
  }

private:
  CueResult Fail(int line, const std::string& why) {
    CueResult result;
    result.Error = "line " + std::to_string(line) + ": " + why;
    return result;
  }

  bool Error(const char* why) {
    error_ = why;
    return false;
  }

  bool Command(const std::vector<std::string>& w) {
    const std::string& cmd = w[0];
    if (EqualsNoCase(cmd, "REM") || EqualsNoCase(cmd, "CATALOG") ||
        EqualsNoCase(cmd, "CDTEXTFILE") || EqualsNoCase(cmd, "PERFORMER") ||
        EqualsNoCase(cmd, "SONGWRITER") || EqualsNoCase(cmd, "ISRC"))
      return true;
    if (EqualsNoCase(cmd, "TITLE")) return Title(w);
    if (EqualsNoCase(cmd, "FILE")) return File(w);
    if (EqualsNoCase(cmd, "TRACK")) return Track(w);
    if (EqualsNoCase(cmd, "FLAGS")) return Flags(w);
    if (EqualsNoCase(cmd, "INDEX")) return Index(w);
    if (EqualsNoCase(cmd, "PREGAP") || EqualsNoCase(cmd, "POSTGAP"))
      return Error("gaps that are not in the file are not supported");
    return Error("unknown command");
  }

  bool Title(const std::vector<std::string>& w) {
    if (w.size() != 2) return Error("TITLE takes one text");
    (inTrack_ ? track_.Title : sheet_.Title) = w[1];
    return true;
  }

  bool File(const std::vector<std::string>& w) {
    if (w.size() != 3 || w[1].empty()) return Error("FILE takes a name and a type");
    if (!EqualsNoCase(w[2], "BINARY")) return Error("only BINARY files are supported");
    // A track whose INDEX 01 is still to come continues into the new file (its pregap sits
    // at the end of the previous one).
    if (hasIndex01_ && !FinishTrack()) return false;
    sheet_.Files.push_back(w[1]);
    return true;
  }

  bool Track(const std::vector<std::string>& w) {
    if (sheet_.Files.empty()) return Error("TRACK before FILE");
    if (w.size() != 3) return Error("TRACK takes a number and a mode");
    auto number = SmallNumber(w[1], kMaxTracks);
    if (!number || *number == 0) return Error("bad track number");
    if (!FinishTrack()) return false;
    if (!sheet_.Tracks.empty() && *number != sheet_.Tracks.back().Number + 1)
      return Error("track numbers must follow one another");
    track_ = CueTrack{};
    track_.Number = *number;
    track_.File = static_cast<int>(sheet_.Files.size()) - 1;
    if (EqualsNoCase(w[2], "AUDIO")) {
      track_.IsAudio = true;
    } else if (EqualsNoCase(w[2], "MODE1/2352") || EqualsNoCase(w[2], "MODE2/2352")) {
      track_.IsAudio = false;
      track_.Control = 0x04;
    } else {
      return Error("only AUDIO, MODE1/2352 and MODE2/2352 tracks are supported");
    }
    inTrack_ = true;
    hasIndex01_ = false;
    lastIndex_ = -1;
    return true;
  }

  bool Flags(const std::vector<std::string>& w) {
    if (!inTrack_) return Error("FLAGS outside a track");
    for (size_t i = 1; i < w.size(); ++i) {
      if (EqualsNoCase(w[i], "PRE")) track_.Control |= 0x01;
      else if (EqualsNoCase(w[i], "DCP")) track_.Control |= 0x02;
      else if (EqualsNoCase(w[i], "4CH")) track_.Control |= 0x08;
      else if (!EqualsNoCase(w[i], "SCMS")) return Error("unknown flag");
    }
    return true;
  }

  bool Index(const std::vector<std::string>& w) {
    if (!inTrack_) return Error("INDEX outside a track");
    if (w.size() != 3) return Error("INDEX takes a number and a time");
    auto number = SmallNumber(w[1], 99);
    auto at = ParseMsf(w[2]);
    if (!number || !at) return Error("bad INDEX");
    if (*number <= lastIndex_) return Error("index numbers must rise");
    const int file = static_cast<int>(sheet_.Files.size()) - 1;
    if (lastIndex_ >= 0 && file == currentIndexFile_ && *at < lastIndexAt_)
      return Error("indexes go backwards");
    lastIndex_ = *number;
    lastIndexAt_ = *at;
    currentIndexFile_ = file;
    if (*number == 1) {
      track_.File = currentIndexFile_;
      track_.Start = *at;
      hasIndex01_ = true;
    }
    return true;
  }

  bool FinishTrack() {
    if (!inTrack_) return true;
    if (!hasIndex01_) return Error("track without INDEX 01");
    if (!sheet_.Tracks.empty()) {
      const CueTrack& previous = sheet_.Tracks.back();
      if (previous.File == track_.File && track_.Start <= previous.Start)
        return Error("track starts before the end of the previous one");
    }
    sheet_.Tracks.push_back(std::move(track_));
    inTrack_ = false;
    return true;
  }

  CueSheet sheet_;
  CueTrack track_;
  bool inTrack_ = false;
  bool hasIndex01_ = false;
  int lastIndex_ = -1;
  uint32_t lastIndexAt_ = 0;
  int currentIndexFile_ = -1;
  std::string error_;
};

}  // namespace

CueResult ParseCueSheet(std::string_view text) { return Parser().Run(text); }

}  // namespace cdrip
