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

    // Streams: anything with Read(void*, int64), Write(const void*, int64), Position() and
    // Size(). Loading takes the rest of the stream.
    template <class Stream>
    void LoadFromStream(Stream& stream)
    {
        const auto count = stream.Size() - stream.Position();
        std::vector<std::uint8_t> data(count > 0 ? static_cast<std::size_t>(count) : 0);
        data.resize(static_cast<std::size_t>(stream.Read(data.data(), static_cast<std::int64_t>(data.size()))));
        LoadFromData(data);
    }
    template <class Stream>
    void SaveToStream(Stream& stream) const
    {
        const auto data = SaveToData();
        stream.WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
    }

    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool value);

    std::function<void()> OnChange;

protected:
    void Changed();

private:
    bool transparent_ = false;
};
