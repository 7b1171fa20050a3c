#pragma once
#include <string>

// Named apart from the Win32 WriteProfileString macros.
// Profile (ini) files: "[section]" headers and "key=value" lines, UTF-8 text. Section and key
// names match without regard to letter case; everything else in the file is kept as it is.

// Raises EIniFileException "Unable to write to <path>" when the file cannot be written.
void ProfileWriteString(const std::string& fileName, const std::string& section, const std::string& key,
                        const std::string& value);
std::string ProfileReadString(const std::string& fileName, const std::string& section, const std::string& key,
                              const std::string& defaultValue = {});
