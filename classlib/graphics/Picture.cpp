#include "classlib/graphics/Picture.h"

#include <algorithm>
#include <cctype>

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Icon.h"
#include "classlib/graphics/JPEGImage.h"

namespace {
std::string LowerExtension(const std::string& fileName)
{
    const auto dot = fileName.find_last_of('.');
    std::string ext = dot == std::string::npos ? "" : fileName.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}
} // namespace

TPicture::~TPicture() = default;

std::unique_ptr<TGraphic> TPicture::CreateGraphic(const std::string& className)
{
    if (className == "TBitmap")
        return std::make_unique<TBitmap>();
    if (className == "TJPEGImage")
        return std::make_unique<TJPEGImage>();
    if (className == "TIcon")
        return std::make_unique<TIcon>();
    return nullptr;
}

void TPicture::Changed()
{
    if (OnChange)
        OnChange();
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic)
{
    graphic_ = std::move(graphic);
    if (graphic_)
        graphic_->OnChange = [this] { Changed(); };
    Changed();
}

void TPicture::SetGraphic(const TGraphic* graphic) { SetGraphic(graphic ? graphic->Clone() : nullptr); }

TBitmap* TPicture::Bitmap()
{
    auto* bitmap = dynamic_cast<TBitmap*>(graphic_.get());
    if (!bitmap) {
        auto fresh = std::make_unique<TBitmap>();
        bitmap = fresh.get();
        SetGraphic(std::move(fresh));
    }
    return bitmap;
}

void TPicture::Assign(const TPicture& source)
{
    if (&source != this)
        SetGraphic(source.graphic_.get());
}

void TPicture::LoadFromFile(const std::string& fileName)
{
    const std::string ext = LowerExtension(fileName);
    std::unique_ptr<TGraphic> graphic;
    if (ext == "bmp")
        graphic = std::make_unique<TBitmap>();
    else if (ext == "jpg" || ext == "jpeg")
        graphic = std::make_unique<TJPEGImage>();
    else if (ext == "ico")
        graphic = std::make_unique<TIcon>();
    else
        throw EInvalidGraphic("Unknown picture file extension (." + ext + ")");
    graphic->LoadFromFile(fileName);
    SetGraphic(std::move(graphic));
}

void TPicture::SaveToFile(const std::string& fileName) const
{
    if (graphic_)
        graphic_->SaveToFile(fileName);
}

std::vector<std::uint8_t> TPicture::Data() const
{
    std::vector<std::uint8_t> out;
    if (!graphic_)
        return out;
    const std::string name = graphic_->ClassName();
    out.push_back(static_cast<std::uint8_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    const std::vector<std::uint8_t> data = graphic_->SaveToData();
    const auto n = static_cast<std::uint32_t>(data.size());
    for (int k = 0; k < 4; ++k)
        out.push_back(static_cast<std::uint8_t>(n >> (8 * k)));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

void TPicture::SetData(const std::vector<std::uint8_t>& data)
{
    if (data.empty()) {
        SetGraphic(std::unique_ptr<TGraphic>());
        return;
    }
    const std::size_t nameLength = data[0];
    if (1 + nameLength + 4 > data.size())
        throw EInvalidGraphic("Stored picture is truncated");
    const std::string name(data.begin() + 1, data.begin() + 1 + static_cast<std::ptrdiff_t>(nameLength));
    std::unique_ptr<TGraphic> graphic = CreateGraphic(name);
    if (!graphic)
        throw EInvalidGraphic("Unknown picture format '" + name + "'");
    const std::uint8_t* p = data.data() + 1 + nameLength;
    const std::uint32_t length = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    if (length > data.size() - (1 + nameLength + 4))
        throw EInvalidGraphic("Stored picture is truncated");
    graphic->LoadFromData(p + 4, length);
    SetGraphic(std::move(graphic));
}
