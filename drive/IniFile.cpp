#include "IniFile.h"

#include "Files.h"

#include <cctype>
#include <charconv>

namespace cdrip {
namespace {

constexpr size_t kMaxIniBytes = 1 << 20;

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Utf8FromUtf16Le(std::string_view bytes) {
  std::string out;
  size_t i = 0;
  auto unit = [&](size_t at) {
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[at]) |
                                 (static_cast<unsigned char>(bytes[at + 1]) << 8));
  };
  while (i + 1 < bytes.size()) {
    char32_t cp = unit(i);
    i += 2;
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < bytes.size()) {
      char16_t low = unit(i);
      if (low >= 0xDC00 && low < 0xE000) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    AppendUtf8(out, cp);
  }
  return out;
}

}  // namespace

IniFile IniFile::Load(const std::filesystem::path& path) {
  auto data = ReadSmallFile(path, kMaxIniBytes);
  if (!data) return IniFile();
  if (data->size() >= 2 && (*data)[0] == '\xFF' && (*data)[1] == '\xFE')
    return Parse(Utf8FromUtf16Le(std::string_view(*data).substr(2)));
  return Parse(*data);
}

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::string section;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = Trim(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      size_t close = line.find(']');
      if (close != std::string_view::npos) section = Lower(Trim(line.substr(1, close - 1)));
      continue;
    }
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string key = Lower(Trim(line.substr(0, eq)));
    std::string_view value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    // The first occurrence wins, as with the system's own profile functions.
    ini.values_.emplace(section + '\n' + key, std::string(value));
  }
  return ini;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
  auto it = values_.find(Lower(section) + '\n' + Lower(key));
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

int IniFile::GetInt(std::string_view section, std::string_view key, int fallback) const {
  auto text = Get(section, key);
  if (!text) return fallback;
  int value = 0;
  auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (error != std::errc() || end != text->data() + text->size()) return fallback;
  return value;
}

}  // namespace cdrip
