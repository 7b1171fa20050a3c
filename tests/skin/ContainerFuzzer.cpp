// libFuzzer entry for the skin container reader. First byte even: the rest is a decoded
// container, packed with our compressor before it is opened (reaches the directory rules
// quickly); odd: the rest is taken as a skin file image as it is. An accepted container
// hands out every entry with its stated size.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "classlib/MemoryStream.h"
#include "skin/SkinContainer.h"
#include "tools/skinpack/LzhEncoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::span<const std::uint8_t> rest(data + 1, size - 1);
    std::vector<std::uint8_t> image = data[0] % 2 == 0 ? skinpack::PackImage(rest)
                                                       : std::vector<std::uint8_t>(rest.begin(), rest.end());
    TMemoryStream stream(std::move(image));
    TSkinReader reader;
    reader.ShowMessage = nullptr;
    if (!reader.Open(stream))
        return 0;
    TMemoryStream entry;
    for (int i = 0; i < reader.EntryCount(); ++i) {
        reader.ExtractEntry(reader.EntryNames()[i], entry);
        // Equal names return the first one's bytes; every entry fits in what was unpacked.
        if (entry.Size() < 0 || entry.Position() != 0)
            __builtin_trap();
    }
    std::string found;
    reader.ExtractEntryContaining(".ini", entry, found);
    reader.ExtractEntry("no such entry", entry);
    if (entry.Size() != 0)
        __builtin_trap();
    return 0;
}
