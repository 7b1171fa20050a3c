#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "classlib/MemoryStream.h"

// Header of a decoded skin container: the first 16 bytes.
struct TSkinContainerHeader {
    std::uint32_t Version = 0;
    std::int32_t NamesLength = 0;
    std::uint8_t Reserved[8] = {};
};

// Unpacks a skin file image (32-bit decoded size, then an LZH stream) and hands out its
// entries by name. Names are kept in lower case; look-ups by ExtractEntry ignore case.
class TSkinReader {
public:
    static constexpr std::uint32_t ContainerVersion = 20000;
    static constexpr int MaxEntries = 1001;
    static constexpr const char* OlderSkinText = "This is Older Skin File\rPlease update to new version !";

    TSkinReader();

    // True when the container was accepted; a refused one leaves the directory unchanged
    // and shows OlderSkinText through ShowMessage.
    bool Open(TMemoryStream& image);
    // Decompresses a whole skin file image from `source` into `target`.
    void Unpack(TStream& source, TStream& target);
    void ExtractEntry(const std::string& name, TMemoryStream& target);
    void ExtractEntryContaining(const std::string& fragment, TMemoryStream& target, std::string& foundName);

    const std::vector<std::string>& EntryNames() const { return entryNames_; }
    int EntryCount() const { return entryCount_; }
    std::int32_t EntrySize(int index) const { return entrySizes_.at(index); }
    const TSkinContainerHeader& ContainerHeader() const { return header_; }
    // Why the last Open refused the image (empty after an accepted one).
    const std::string& RefusalReason() const { return refusal_; }

    // Shows the refusal to the user; a message box on Windows, standard error elsewhere.
    std::function<void(const std::string&)> ShowMessage;

private:
    bool Refuse(std::string reason);
    void CopyEntry(std::int64_t offset, std::int32_t size, TMemoryStream& target);

    std::vector<std::string> entryNames_;
    int entryCount_ = 0;
    std::array<std::int32_t, MaxEntries> entrySizes_{};
    TMemoryStream entryData_;
    TSkinContainerHeader header_;
    std::string refusal_;
};

// Lower case for ASCII letters only, as skin names and ini keys are compared.
std::string SkinLowerCase(std::string text);
