#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Persistent.h"
#include "classlib/graphics/Graphic.h"

class TBitmap;

// Holds one graphic of any kind. Its stored form ("Data") is the graphic's class name as a
// short string (a length byte, then the name) followed by the graphic's data: a 32-bit
// little-endian length and that many bytes of the graphic's file.
class TPicture : public TPersistent {
public:
    TPicture() = default;
    ~TPicture() override;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    TGraphic* Graphic() const { return graphic_.get(); }
    // Copies the graphic (nullptr empties the picture).
    void SetGraphic(const TGraphic* graphic);
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    // The graphic as a bitmap; an empty bitmap replaces a graphic of another kind.
    TBitmap* Bitmap();
    void Assign(const TPicture& source);

    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // By extension: .bmp, .jpg/.jpeg, .ico.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

    std::vector<std::uint8_t> Data() const;
    void SetData(const std::vector<std::uint8_t>& data);

    // A new, empty graphic of a registered kind ("TBitmap", "TJPEGImage", "TIcon").
    static std::unique_ptr<TGraphic> CreateGraphic(const std::string& className);

    std::function<void()> OnChange;

private:
    void Changed();
    std::unique_ptr<TGraphic> graphic_;
};
