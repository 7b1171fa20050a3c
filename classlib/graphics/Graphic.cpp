#include "classlib/graphics/Graphic.h"

#include "classlib/FileStream.h"

void TGraphic::LoadFromFile(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead);
    LoadFromStream(file);
}

void TGraphic::SaveToFile(const std::string& fileName) const
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

void TGraphic::LoadFromStream(TStream& stream)
{
    const std::int64_t count = stream.Size() - stream.Position();
    std::vector<std::uint8_t> data(count > 0 ? static_cast<std::size_t>(count) : 0);
    stream.ReadBuffer(data.data(), static_cast<std::int64_t>(data.size()));
    LoadFromData(data);
}

void TGraphic::SaveToStream(TStream& stream) const
{
    const std::vector<std::uint8_t> data = SaveToData();
    stream.WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
}

void TGraphic::SetTransparent(bool value)
{
    if (value != transparent_) {
        transparent_ = value;
        Changed();
    }
}

void TGraphic::Changed()
{
    if (OnChange)
        OnChange();
}
