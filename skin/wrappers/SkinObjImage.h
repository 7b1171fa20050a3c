#pragma once
// TSkinObjImage: hands the skin's check-box or radio-button images to a check control of
// another component family that draws its own glyphs ("CustomGlyphs" and friends by name).
// It watches no messages; the control keeps painting itself.
#include <string>

#include "classlib/graphics/Bitmap.h"
#include "skin/wrappers/SkinControl.h"

enum : int { gkCheck = 1, gkRadio = 2, gkCheckCx = 3 };

class TSkinObjImage : public TSkinControl {
public:
    TSkinObjImage(TComponent* owner, int glyphKind) : TSkinControl(owner), GlyphKind(glyphKind) {}
    ~TSkinObjImage() override;

    void AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas) override;
    void Restore() override;
    void Refresh() override;

    // The skin image (1-based) shown in glyph cell 0-5 of the kind, for a strip of `images`.
    static int CellImage(int glyphKind, int cell, int images);
    static constexpr int kCells = 6;

    int GlyphKind;
    TBitmap Glyphs;

private:
    bool BuildGlyphs();
    void HandOver();

    TBitmap savedGlyphs_;
    std::string savedUse_;
    bool handedOver_ = false;
};

