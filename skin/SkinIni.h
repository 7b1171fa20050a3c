#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "classlib/Stream.h"
#include "classlib/Strings.h"

// Read-only ini store for a skin's text entry: keeps the meaningful lines and an index of
// the section headers; answers string and integer look-ups by section and key.
class TQuickIni {
public:
    // Replaces the contents with the text from the stream's position to its end; a null
    // stream changes nothing.
    void LoadFromStream(TStream* stream);
    void LoadFromText(std::string_view text);

    // Index in Lines of the header "[" + name + "]" (case ignored), or -1.
    int FindSection(const std::string& name) const;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    std::int32_t ReadInteger(const std::string& section, const std::string& key, std::int32_t defaultValue) const;
    // Section names without brackets, in file order.
    void ReadSections(std::vector<std::string>& list) const;
    void ReadSections(TStrings& list) const;

    // Kept lines, trimmed, in file order; section headers with their index in Lines.
    const std::vector<std::string>& Lines() const { return lines_; }
    const std::vector<std::pair<std::string, int>>& Sections() const { return sections_; }

private:
    std::vector<std::string> lines_;
    std::vector<std::pair<std::string, int>> sections_;
};

// Text to a signed 32-bit integer: decimal, or hexadecimal after "$" (an optional sign
// first); hexadecimal may use all 32 bits. False when the text is not such a number.
bool SkinTextToInt(std::string_view text, std::int32_t& value);
