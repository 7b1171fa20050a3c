#include "skin/SkinIni.h"

#include "skin/SkinContainer.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsHeader(std::string_view line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }

bool SameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

int DigitValue(char c, int base)
{
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

} // namespace

bool SkinTextToInt(std::string_view text, std::int32_t& value)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty())
        return false;
    // Decimal stays within the signed range; hexadecimal may fill all 32 bits.
    const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t magnitude = 0;
    for (char c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0)
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return false;
    }
    const auto bits = static_cast<std::uint32_t>(negative ? 0 - magnitude : magnitude);
    value = static_cast<std::int32_t>(bits);
    return true;
}

void TQuickIni::LoadFromStream(TStream* stream)
{
    if (!stream)
        return;
    std::string text;
    const auto remaining = stream->Size() - stream->Position();
    if (remaining > 0) {
        text.resize(static_cast<std::size_t>(remaining));
        stream->ReadBuffer(text.data(), remaining);
    }
    LoadFromText(text);
}

void TQuickIni::LoadFromText(std::string_view text)
{
    lines_.clear();
    sections_.clear();
    const auto nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);

    std::size_t start = 0;
    auto take = [&](std::size_t end) {
        const auto line = Trim(text.substr(start, end - start));
        if (line.empty() || line.front() == ';')
            return;
        if (IsHeader(line))
            sections_.emplace_back(std::string(line), static_cast<int>(lines_.size()));
        lines_.emplace_back(line);
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        take(i);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        take(text.size());
}

int TQuickIni::FindSection(const std::string& name) const
{
    const std::string header = "[" + name + "]";
    for (const auto& [text, line] : sections_)
        if (SameText(text, header))
            return line;
    return -1;
}

std::string TQuickIni::ReadString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) const
{
    const std::string wanted = SkinLowerCase(key);
    if (lines_.empty())
        return defaultValue;
    const int header = FindSection(section);
    if (header < 0)
        return defaultValue;
    for (std::size_t i = header + 1; i < lines_.size(); ++i) {
        const std::string_view line = lines_[i];
        if (IsHeader(line))
            break;
        const auto eq = line.find('=');
        if (eq == std::string_view::npos)
            continue; // no key: never matches
        if (SkinLowerCase(std::string(Trim(line.substr(0, eq)))) != wanted)
            continue;
        const auto value = Trim(line.substr(eq + 1));
        return value.empty() ? defaultValue : std::string(value);
    }
    return defaultValue;
}

std::int32_t TQuickIni::ReadInteger(const std::string& section, const std::string& key, std::int32_t defaultValue) const
{
    std::string text = ReadString(section, key, "");
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.replace(0, 2, "$");
    std::int32_t value = 0;
    return SkinTextToInt(text, value) ? value : defaultValue;
}

void TQuickIni::ReadSections(std::vector<std::string>& list) const
{
    list.clear();
    for (const auto& [text, line] : sections_) {
        std::string_view name = Trim(text);
        name = name.size() >= 2 ? name.substr(1, name.size() - 2) : std::string_view();
        list.emplace_back(Trim(name));
    }
}

void TQuickIni::ReadSections(TStrings& list) const
{
    std::vector<std::string> names;
    ReadSections(names);
    list.BeginUpdate();
    list.Clear();
    for (const auto& name : names)
        list.Add(name);
    list.EndUpdate();
}
