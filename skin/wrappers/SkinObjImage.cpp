// Check controls of other families: a six-cell glyph picture cut from the skin's strips.
#include "skin/wrappers/SkinObjImage.h"

#include <algorithm>

#include "classlib/TypeInfo.h"
#include "classlib/controls/WinControl.h"
#include "classlib/graphics/Canvas.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"

namespace {
// What a cell shows.
enum TGlyph { gUnchecked, gChecked, gMixed, gUncheckedDisabled, gCheckedDisabled, gMixedDisabled };

// The families' cell orders: radio buttons off, on, off, on (their pressed pair), then the
// disabled pair; the first check family unchecked, checked, mixed and the three disabled;
// the other one each state followed by its disabled form.
constexpr TGlyph kRadioCells[6] = {gUnchecked, gChecked, gUnchecked, gChecked, gUncheckedDisabled, gCheckedDisabled};
constexpr TGlyph kCheckCells[6] = {gUnchecked, gChecked, gMixed, gUncheckedDisabled, gCheckedDisabled, gMixedDisabled};
constexpr TGlyph kCheckCxCells[6] = {gUnchecked, gUncheckedDisabled, gChecked, gCheckedDisabled, gMixed, gMixedDisabled};

// Where a state sits in the skin's strips: 4 images (1 off, 2 on, 3 off disabled, 4 on
// disabled or mixed), 8 radio images (1 off, 4 off disabled, 5 on, 8 on disabled) or 12
// check images (those plus 9 mixed, 12 mixed disabled).
int StripImage(TGlyph glyph, int images)
{
    if (images >= 8) {
        switch (glyph) {
        case gUnchecked: return 1;
        case gUncheckedDisabled: return 4;
        case gChecked: return 5;
        case gCheckedDisabled: return 8;
        case gMixed: return images >= 12 ? 9 : 5;
        case gMixedDisabled: return images >= 12 ? 12 : 8;
        }
    }
    switch (glyph) {
    case gUnchecked: return 1;
    case gChecked: return 2;
    case gUncheckedDisabled: return 3;
    default: return 4;
    }
}

const std::string kKeyText = std::to_string(kSkinKeyColour);
} // namespace

TSkinObjImage::~TSkinObjImage()
{
    if (Control && !ControlGone())
        Restore();
}

int TSkinObjImage::CellImage(int glyphKind, int cell, int images)
{
    const TGlyph* order = glyphKind == gkRadio ? kRadioCells : glyphKind == gkCheckCx ? kCheckCxCells : kCheckCells;
    return std::min(StripImage(order[std::clamp(cell, 0, kCells - 1)], images), std::max(images, 1));
}

void TSkinObjImage::AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas)
{
    if (Attached)
        return;
    Form = form;
    SkinData = skin;
    Canvas = canvas;
    ColorControl = colorControl;
    Control = dynamic_cast<TControl*>(Owner());
    if (auto* windowed = dynamic_cast<TWinControl*>(Control); windowed && windowed->HandleAllocated())
        Handle = windowed->Handle();
    if (Form)
        Form->AddChildSkin(this);
    Attached = true;
    State = wsAttached;
    if (Control && BuildGlyphs())
        HandOver();
}

bool TSkinObjImage::BuildGlyphs()
{
    if (!SkinData || !SkinData->Buttons)
        return false;
    TDataSkinButton& buttons = *SkinData->Buttons;
    TBitmap& strip = GlyphKind == gkRadio ? buttons.RadioImage : buttons.CheckImage;
    const int images = std::max(GlyphKind == gkRadio ? buttons.RadioFrame : buttons.CheckFrame, 1);
    if (strip.Empty() || strip.Width() < images)
        return false;
    const int cell = strip.Width() / images, h = strip.Height();
    Glyphs.SetPixelFormat(pf24bit);
    Glyphs.SetSize(cell * kCells, h);
    for (int i = 0; i < kCells; ++i) {
        const int k = CellImage(GlyphKind, i, images);
        Glyphs.Canvas()->CopyRect({i * cell, 0, (i + 1) * cell, h}, *strip.Canvas(), {(k - 1) * cell, 0, k * cell, h});
    }
    return true;
}

void TSkinObjImage::HandOver()
{
    if (!HasProp("CustomGlyphs"))
        return;
    if (!handedOver_) {
        if (auto* own = PropObjectAs<TBitmap>("CustomGlyphs"))
            savedGlyphs_.Assign(*own);
        savedUse_ = PropName("UseCustomGlyphs");
    }
    try {
        SetObjectProp(Control, "CustomGlyphs", &Glyphs);
    } catch (const EPropertyError&) {
        return;
    }
    SetProp("transparentcolor", kKeyText);
    // Switching it off and on makes the control take the new picture.
    SetProp("UseCustomGlyphs", "false");
    SetProp("UseCustomGlyphs", "true");
    handedOver_ = true;
}

void TSkinObjImage::Restore()
{
    if (!handedOver_ || !Control)
        return;
    handedOver_ = false;
    try {
        SetObjectProp(Control, "CustomGlyphs", &savedGlyphs_);
    } catch (const EPropertyError&) {
        // A control that refuses its old picture keeps the skin's.
    }
    SetProp("UseCustomGlyphs", "false");
    if (!savedUse_.empty())
        SetProp("UseCustomGlyphs", savedUse_);
}

void TSkinObjImage::Refresh()
{
    if (Control && BuildGlyphs())
        HandOver();
}
