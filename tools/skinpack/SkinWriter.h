#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace skinpack {

struct SkinEntry {
    std::string name;
    std::vector<std::uint8_t> data;
};

// A decoded skin container: version, names length, 8 reserved bytes, the names (each
// ended by CR LF), one 32-bit size per entry, then the entries' bytes.
std::vector<std::uint8_t> BuildContainer(const std::vector<SkinEntry>& entries, std::uint32_t version = 20000);

// Every regular file of `folder`, sorted by name (byte order), as entries.
std::vector<SkinEntry> ReadFolder(const std::filesystem::path& folder);

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

} // namespace skinpack
