#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "classlib/Exception.h"
#include "classlib/Persistent.h"
#include "classlib/Stream.h"

class TCanvas;

// Raised for data a graphic cannot read (a broken BMP, JPEG or icon, an unknown format).
class EInvalidGraphic : public Exception {
    using Exception::Exception;
};

// A picture that can draw itself and read and write its file format.
class TGraphic : public TPersistent {
public:
    TGraphic() = default;
    ~TGraphic() override = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;

    // The registered class name, e.g. "TBitmap"; it names the graphic in stored pictures.
    virtual std::string ClassName() const = 0;
    virtual std::unique_ptr<TGraphic> Clone() const = 0;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;

    // Draws the graphic stretched to r.
    virtual void Draw(TCanvas& canvas, const RECT& r) = 0;

    // The graphic's own file format (a BMP file, a JPEG file, an icon file).
    virtual void LoadFromData(const std::uint8_t* data, std::size_t size) = 0;
    virtual std::vector<std::uint8_t> SaveToData() const = 0;
    void LoadFromData(const std::vector<std::uint8_t>& data) { LoadFromData(data.data(), data.size()); }

    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

    // Loading takes the rest of the stream.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;

    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool value);

    std::function<void()> OnChange;

protected:
    void Changed();

private:
    bool transparent_ = false;
};
