// kestrip-skinpack: packs a folder into a skin file and unpacks one through the product's
// own reader.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "classlib/MemoryStream.h"
#include "skin/SkinContainer.h"
#include "tools/skinpack/LzhEncoder.h"
#include "tools/skinpack/SkinWriter.h"

namespace fs = std::filesystem;
using namespace skinpack;

namespace {

int Usage()
{
    std::cerr << "usage: kestrip-skinpack pack DIR FILE     pack every file of DIR into the skin file FILE\n"
                 "       kestrip-skinpack unpack FILE DIR   write the entries of FILE into DIR\n"
                 "       kestrip-skinpack list FILE         name and size of every entry\n";
    return 2;
}

int Pack(const fs::path& folder, const fs::path& file)
{
    const auto entries = ReadFolder(folder);
    if (entries.empty()) {
        std::cerr << "skinpack: " << folder.string() << " holds no files\n";
        return 1;
    }
    const auto container = BuildContainer(entries);
    const auto image = PackImage(container);
    WriteFileBytes(file, image);
    std::printf("%s: %zu entries, %zu bytes packed to %zu (%.1f %%)\n", file.string().c_str(), entries.size(),
                container.size(), image.size(), 100.0 * image.size() / container.size());
    return 0;
}

// An entry name becomes a file of the target folder only when it cannot leave it.
bool SafeName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\:") == std::string::npos;
}

int Open(const fs::path& file, TSkinReader& reader)
{
    const auto bytes = ReadFileBytes(file);
    TMemoryStream image;
    if (!bytes.empty())
        image.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    reader.ShowMessage = nullptr;
    if (!reader.Open(image)) {
        std::cerr << "skinpack: " << file.string() << " is not a skin file: " << reader.RefusalReason() << '\n';
        return 1;
    }
    return 0;
}

int Unpack(const fs::path& file, const fs::path& folder)
{
    TSkinReader reader;
    if (int rc = Open(file, reader))
        return rc;
    for (const auto& name : reader.EntryNames())
        if (!SafeName(name)) {
            std::cerr << "skinpack: " << file.string() << " names an entry \"" << name
                      << "\" that is no plain file name; nothing written\n";
            return 1;
        }
    fs::create_directories(folder);
    TMemoryStream entry;
    for (const auto& name : reader.EntryNames()) {
        reader.ExtractEntry(name, entry);
        const auto* data = static_cast<const std::uint8_t*>(entry.Memory());
        WriteFileBytes(folder / name, std::vector<std::uint8_t>(data, data + entry.Size()));
    }
    std::printf("%s: %d entries written to %s\n", file.string().c_str(), reader.EntryCount(), folder.string().c_str());
    return 0;
}

int List(const fs::path& file)
{
    TSkinReader reader;
    if (int rc = Open(file, reader))
        return rc;
    for (int i = 0; i < reader.EntryCount(); ++i)
        std::printf("%10d  %s\n", reader.EntrySize(i), reader.EntryNames()[i].c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        if (command == "pack" && argc == 4)
            return Pack(argv[2], argv[3]);
        if (command == "unpack" && argc == 4)
            return Unpack(argv[2], argv[3]);
        if (command == "list" && argc == 3)
            return List(argv[2]);
        return Usage();
    } catch (const std::exception& e) {
        std::cerr << "skinpack: " << e.what() << '\n';
        return 1;
    }
}
