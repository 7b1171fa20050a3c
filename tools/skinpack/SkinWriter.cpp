#include "SkinWriter.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace skinpack {

namespace {

void PutInt32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

} // namespace

std::vector<std::uint8_t> BuildContainer(const std::vector<SkinEntry>& entries, std::uint32_t version)
{
    std::string names;
    for (const auto& entry : entries)
        names += entry.name + "\r\n";
    std::vector<std::uint8_t> out;
    PutInt32(out, version);
    PutInt32(out, static_cast<std::uint32_t>(names.size()));
    out.insert(out.end(), 8, 0);
    out.insert(out.end(), names.begin(), names.end());
    for (const auto& entry : entries)
        PutInt32(out, static_cast<std::uint32_t>(entry.data.size()));
    for (const auto& entry : entries)
        out.insert(out.end(), entry.data.begin(), entry.data.end());
    return out;
}

std::vector<SkinEntry> ReadFolder(const std::filesystem::path& folder)
{
    std::vector<SkinEntry> entries;
    for (const auto& item : std::filesystem::directory_iterator(folder))
        if (item.is_regular_file())
            entries.push_back({item.path().filename().string(), ReadFileBytes(item.path())});
    std::sort(entries.begin(), entries.end(), [](const SkinEntry& a, const SkinEntry& b) { return a.name < b.name; });
    return entries;
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

} // namespace skinpack
