#include "ProfileFile.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "FileStream.h"

namespace {

std::string Trim(const std::string& s)
{
    auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

struct Lines {
    std::vector<std::string> items; // without line ends
    std::string eol;
};

std::optional<Lines> ReadLines(const std::string& fileName)
{
    if (!FileExists(fileName))
        return std::nullopt;
    std::string text;
    try {
        TFileStream stream(fileName, fmOpenRead);
        text.resize(static_cast<std::size_t>(std::max<std::int64_t>(stream.Size(), 0)));
        text.resize(static_cast<std::size_t>(stream.Read(text.data(), static_cast<std::int64_t>(text.size()))));
    } catch (const EStreamError&) {
        return std::nullopt;
    }
    Lines lines;
    lines.eol = text.find("\r\n") != std::string::npos || text.empty() ? "\r\n" : "\n";
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.items.push_back(line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

bool IsSectionHeader(const std::string& line, std::string* name)
{
    std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        return false;
    *name = Trim(t.substr(1, t.size() - 2));
    return true;
}

// Index range [begin, end) of the section's body, or nullopt.
std::optional<std::pair<std::size_t, std::size_t>> FindSection(const Lines& lines, const std::string& section)
{
    std::string name;
    for (std::size_t i = 0; i < lines.items.size(); ++i) {
        if (IsSectionHeader(lines.items[i], &name) && SameText(name, section)) {
            std::size_t end = i + 1;
            while (end < lines.items.size() && !IsSectionHeader(lines.items[end], &name))
                ++end;
            return std::make_pair(i + 1, end);
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const Lines& lines, std::size_t begin, std::size_t end, const std::string& key)
{
    for (std::size_t i = begin; i < end; ++i) {
        auto eq = lines.items[i].find('=');
        if (eq != std::string::npos && SameText(Trim(lines.items[i].substr(0, eq)), key))
            return i;
    }
    return std::nullopt;
}

} // namespace

void ProfileWriteString(const std::string& fileName, const std::string& section, const std::string& key,
                        const std::string& value)
{
    Lines lines = ReadLines(fileName).value_or(Lines{{}, "\r\n"});
    const std::string entry = key + "=" + value;
    if (auto body = FindSection(lines, section)) {
        if (auto at = FindKey(lines, body->first, body->second, key)) {
            lines.items[*at] = entry;
        } else {
            std::size_t insertAt = body->second;
            while (insertAt > body->first && Trim(lines.items[insertAt - 1]).empty())
                --insertAt;
            lines.items.insert(lines.items.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
        }
    } else {
        if (!lines.items.empty() && !Trim(lines.items.back()).empty())
            lines.items.emplace_back();
        lines.items.push_back("[" + section + "]");
        lines.items.push_back(entry);
    }
    std::string text;
    for (const auto& line : lines.items)
        text += line + lines.eol;
    try {
        TFileStream stream(fileName, fmCreate);
        stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    } catch (const EStreamError&) {
        throw EIniFileException("Unable to write to " + fileName);
    }
}

std::string ProfileReadString(const std::string& fileName, const std::string& section, const std::string& key,
                              const std::string& defaultValue)
{
    auto lines = ReadLines(fileName);
    if (!lines)
        return defaultValue;
    auto body = FindSection(*lines, section);
    if (!body)
        return defaultValue;
    auto at = FindKey(*lines, body->first, body->second, key);
    if (!at)
        return defaultValue;
    const std::string& line = lines->items[*at];
    return Trim(line.substr(line.find('=') + 1));
}
