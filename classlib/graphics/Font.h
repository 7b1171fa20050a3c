#pragma once
#include <cstdint>
#include <string>

#include <windows.h>

#include "classlib/Set.h"
#include "classlib/graphics/Color.h"
#include "classlib/graphics/GraphicsObject.h"

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

using TFontStyles = TSet<TFontStyle>;

using TFontCharset = std::uint8_t; // ANSI_CHARSET 0, DEFAULT_CHARSET 1, ...
enum TFontPitch { fpDefault, fpVariable, fpFixed };

// A font description with a cached HFONT. Height is in pixels (negative: character height,
// as stored); Size is in points at the screen's resolution (96 per inch).
class TFont : public TGraphicsObject {
public:
    TFont();
    ~TFont() override;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    void Assign(const TFont& source);
    bool SameAs(const TFont& other) const;

    std::string Name() const { return name_; }
    void SetName(const std::string& name);
    int Height() const { return height_; }
    void SetHeight(int height);
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset charset);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);
    int PixelsPerInch() const { return pixelsPerInch_; }

    // Created on first use, kept until the next change; owned by the font.
    HFONT Handle() const;
    // Takes the description of an existing font (the handle stays the caller's).
    void SetHandle(HFONT font);

protected:
    void FreeHandle() override;

private:
    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    TFontStyles style_;
    TColor color_ = clWindowText;
    TFontCharset charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = fpDefault;
    int pixelsPerInch_ = 96;
    mutable HFONT handle_ = nullptr;
};
