// libFuzzer entry for the drive layer's settings file: any bytes, read as the file the
// library loads (UTF-8, or UTF-16LE after its byte-order mark), give answers, never a fault.
// Every value read back is one line's text; the numbers read match the text they came from.
#include <unistd.h>

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "IniFile.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void CheckValue(const cdrip::IniFile& ini, const std::string& section, const std::string& key)
{
    const auto text = ini.Get(section, key);
    if (!text) {
        Check(ini.GetInt(section, key, -7) == -7);
        return;
    }
    Check(text->find('\n') == std::string::npos);
    int value = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    const bool number = error == std::errc() && end == text->data() + text->size();
    Check(ini.GetInt(section, key, -7) == (number ? value : -7));
    // Names are compared without case.
    std::string upper = key;
    for (char& c : upper)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    Check(ini.Get(section, upper) == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/dev/shm/kestrip-inifuzz-" + std::to_string(getpid()) + ".ini";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    const cdrip::IniFile loaded = cdrip::IniFile::Load(path);
    // What the library asks when it starts.
    CheckValue(loaded, "CD-ROM", "nActive");
    CheckValue(loaded, "CD-ROM", "nTransportLayer");
    for (int i = 1; i <= 64; ++i) {
        const std::string key = "image" + std::to_string(i);
        if (!loaded.Get("Images", key))
            break;
        CheckValue(loaded, "Images", key);
    }
    // Without a UTF-16 mark the file is its own text.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (size < 2 || data[0] != 0xFF || data[1] != 0xFE) {
        const cdrip::IniFile parsed = cdrip::IniFile::Parse(text);
        Check(parsed.Get("CD-ROM", "nActive") == loaded.Get("CD-ROM", "nActive"));
        Check(parsed.Get("Images", "Image1") == loaded.Get("Images", "Image1"));
    }
    return 0;
}
