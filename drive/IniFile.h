// Reader of the library's settings file: [section] headers and key=value lines, names
// compared without case. Text is UTF-8 (a UTF-8 or UTF-16LE byte-order mark is honoured).
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace cdrip {

class IniFile {
public:
  static IniFile Load(const std::filesystem::path& path);
  static IniFile Parse(std::string_view text);

  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  int GetInt(std::string_view section, std::string_view key, int fallback) const;

private:
  std::map<std::string, std::string> values_;  // "section\nkey" in lower case -> value
};

}  // namespace cdrip
