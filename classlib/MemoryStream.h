#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Stream.h"

// A stream over bytes in memory; writing past the end grows it.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> bytes) : data_(std::move(bytes)) {}

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    // Positions before the start raise EStreamError; past the end are allowed (a write
    // there fills the gap with zeros).
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }

    // Keeps the position unless it would lie past the new end.
    void SetSize(std::int64_t size);
    void Clear();
    void* Memory() { return data_.data(); }
    const void* Memory() const { return data_.data(); }
    const std::vector<std::uint8_t>& Bytes() const { return data_; }

    // Replace the content with the whole source (from its start) / write the whole content.
    void LoadFromStream(TStream& source);
    void SaveToStream(TStream& target) const;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

private:
    std::vector<std::uint8_t> data_;
    std::int64_t position_ = 0;
};
