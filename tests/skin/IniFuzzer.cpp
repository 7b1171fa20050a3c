// libFuzzer entry for the skin settings store: any text loads, every section it lists can be
// read, and look-ups never fault.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "skin/SkinIni.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TQuickIni ini;
    ini.LoadFromText(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    if (sections.size() != ini.Sections().size())
        __builtin_trap();
    for (const auto& line : ini.Lines())
        if (line.empty() || line.front() == ';' || static_cast<unsigned char>(line.front()) <= ' ' ||
            static_cast<unsigned char>(line.back()) <= ' ')
            __builtin_trap();
    for (const auto& [header, index] : ini.Sections()) {
        if (index < 0 || index >= static_cast<int>(ini.Lines().size()) || ini.Lines()[index] != header)
            __builtin_trap();
        const std::string name = header.substr(1, header.size() - 2);
        if (ini.FindSection(name) < 0)
            __builtin_trap();
        for (const char* key : {"Image", "LeftWidth", "k", "", "Color0"}) {
            ini.ReadString(name, key, "default");
            ini.ReadInteger(name, key, -1);
        }
    }
    return 0;
}
