#include "skin/SkinContainer.h"

#include <cstring>
#include <iostream>
#include <string_view>

#include "skin/Lzh.h"

#ifdef _WIN32
#include <windows.h>

#include "classlib/Unicode.h"
#endif

namespace {

std::int32_t ReadInt32(const std::uint8_t* p)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                     (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
}

// The decoder can make at most 60 bytes out of the ten bits a match needs at least; a
// larger size announces data that is not there, and decoding it would only make zeros.
std::int64_t MaxDecodedSize(std::int64_t payload) { return 64 * payload + 64; }

std::vector<std::string> SplitNames(std::string_view text)
{
    const auto nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

void DefaultShowMessage(const std::string& text)
{
#ifdef _WIN32
    MessageBoxW(nullptr, Utf8ToWide(text).c_str(), L"Kestrip", MB_OK | MB_ICONWARNING);
#else
    std::cerr << text << '\n';
#endif
}

} // namespace

std::string SkinLowerCase(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

TSkinReader::TSkinReader() : ShowMessage(DefaultShowMessage) {}

void TSkinReader::Unpack(TStream& source, TStream& target)
{
    TLZH lzh;
    lzh.InputStream = &source;
    lzh.OutputStream = &target;
    source.SetPosition(0);
    target.SetPosition(0);
    std::uint8_t sizeBytes[4] = {};
    source.ReadBuffer(sizeBytes, 4);
    lzh.Decode(
        ReadInt32(sizeBytes),
        [&lzh](const void* buffer, std::uint16_t count, std::uint16_t& actual) { lzh.WriteBlock(buffer, count, actual); },
        [&lzh](void* buffer, std::uint16_t count, std::uint16_t& actual) { lzh.ReadBlock(buffer, count, actual); });
}

bool TSkinReader::Refuse(std::string reason)
{
    refusal_ = std::move(reason);
    if (ShowMessage)
        ShowMessage(OlderSkinText);
    return false;
}

bool TSkinReader::Open(TMemoryStream& image)
{
    refusal_.clear();
    if (image.Size() < 4)
        return Refuse("the skin file is shorter than its 4-byte size field");
    std::uint8_t sizeBytes[4] = {};
    image.SetPosition(0);
    image.ReadBuffer(sizeBytes, 4);
    const std::int32_t decodedSize = ReadInt32(sizeBytes);
    if (decodedSize < 0 || decodedSize > MaxDecodedSize(image.Size() - 4))
        return Refuse("the skin file announces " + std::to_string(decodedSize) + " bytes that it cannot hold");

    TMemoryStream container;
    Unpack(image, container);
    const auto total = container.Size();
    const auto* bytes = static_cast<const std::uint8_t*>(container.Memory());
    if (total < 16)
        return Refuse("the skin container is shorter than its header");

    TSkinContainerHeader header;
    header.Version = static_cast<std::uint32_t>(ReadInt32(bytes));
    header.NamesLength = ReadInt32(bytes + 4);
    std::memcpy(header.Reserved, bytes + 8, 8);
    if (header.Version != ContainerVersion)
        return Refuse("the skin container has version " + std::to_string(header.Version) + ", not 20000");
    if (header.NamesLength < 0 || header.NamesLength > total - 16)
        return Refuse("the name list runs past the end of the skin container");

    auto names = SplitNames(std::string_view(reinterpret_cast<const char*>(bytes + 16), header.NamesLength));
    if (names.size() > static_cast<std::size_t>(MaxEntries))
        return Refuse("the skin container names more than 1001 entries");
    const auto count = static_cast<std::int64_t>(names.size());
    const std::int64_t sizesAt = 16 + static_cast<std::int64_t>(header.NamesLength);
    const std::int64_t dataAt = sizesAt + 4 * count;
    if (dataAt > total)
        return Refuse("the entry sizes run past the end of the skin container");

    std::array<std::int32_t, MaxEntries> sizes{};
    std::int64_t sum = 0;
    for (std::int64_t i = 0; i < count; ++i) {
        sizes[i] = ReadInt32(bytes + sizesAt + 4 * i);
        if (sizes[i] < 0)
            return Refuse("an entry of the skin container has a negative size");
        sum += sizes[i];
    }
    if (sum > total - dataAt)
        return Refuse("the entries run past the end of the skin container");

    header_ = header;
    for (auto& name : names)
        name = SkinLowerCase(std::move(name));
    entryNames_ = std::move(names);
    entryCount_ = static_cast<int>(count);
    entrySizes_ = sizes;
    entryData_.Clear();
    entryData_.WriteBuffer(bytes + dataAt, total - dataAt);
    entryData_.SetPosition(0);
    return true;
}

void TSkinReader::CopyEntry(std::int64_t offset, std::int32_t size, TMemoryStream& target)
{
    if (size > 0)
        target.WriteBuffer(static_cast<const std::uint8_t*>(entryData_.Memory()) + offset, size);
    target.SetPosition(0);
}

void TSkinReader::ExtractEntry(const std::string& name, TMemoryStream& target)
{
    target.Clear();
    const std::string wanted = SkinLowerCase(name);
    std::int64_t offset = 0;
    for (int i = 0; i < entryCount_; ++i) {
        if (entryNames_[i] == wanted) {
            CopyEntry(offset, entrySizes_[i], target);
            return;
        }
        offset += entrySizes_[i];
    }
}

void TSkinReader::ExtractEntryContaining(const std::string& fragment, TMemoryStream& target, std::string& foundName)
{
    target.Clear();
    std::int64_t offset = 0;
    for (int i = 0; i < entryCount_; ++i) {
        if (entryNames_[i].find(fragment) != std::string::npos) {
            CopyEntry(offset, entrySizes_[i], target);
            foundName = entryNames_[i];
            return;
        }
        offset += entrySizes_[i];
    }
}
