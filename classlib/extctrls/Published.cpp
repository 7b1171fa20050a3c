#include "classlib/TypeInfo.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/graphics/Graphics.h"

namespace {
const TEnumInfo& BevelCutInfo()
{
    static const TEnumInfo info{"TBevelCut", {{"bvNone", 0}, {"bvLowered", 1}, {"bvRaised", 2}, {"bvSpace", 3}}};
    return info;
}

const TEnumInfo& AlignmentInfo()
{
    static const TEnumInfo info{"TAlignment", {{"taLeftJustify", 0}, {"taRightJustify", 1}, {"taCenter", 2}}};
    return info;
}

const TEnumInfo& BorderStyleInfo()
{
    static const TEnumInfo info{"TBorderStyle", {{"bsNone", 0}, {"bsSingle", 1}}};
    return info;
}

const TEnumInfo& ButtonLayoutInfo()
{
    static const TEnumInfo info{"TButtonLayout",
                                {{"blGlyphLeft", 0}, {"blGlyphRight", 1}, {"blGlyphTop", 2}, {"blGlyphBottom", 3}}};
    return info;
}

const TEnumInfo& BitBtnKindInfo()
{
    static const TEnumInfo info{"TBitBtnKind",
                                {{"bkCustom", 0}, {"bkOK", 1}, {"bkCancel", 2}, {"bkHelp", 3}, {"bkYes", 4},
                                 {"bkNo", 5}, {"bkClose", 6}, {"bkAbort", 7}, {"bkRetry", 8}, {"bkIgnore", 9},
                                 {"bkAll", 10}}};
    return info;
}

const TEnumInfo& UDOrientationInfo()
{
    static const TEnumInfo info{"TUDOrientation", {{"udHorizontal", 0}, {"udVertical", 1}}};
    return info;
}

const TEnumInfo& TrackBarOrientationInfo()
{
    static const TEnumInfo info{"TTrackBarOrientation", {{"trHorizontal", 0}, {"trVertical", 1}}};
    return info;
}

const TEnumInfo& TabPositionInfo()
{
    static const TEnumInfo info{"TTabPosition", {{"tpTop", 0}, {"tpBottom", 1}, {"tpLeft", 2}, {"tpRight", 3}}};
    return info;
}
} // namespace

void RegisterExtControlsClasses(TClassRegistry& r)
{
    if (r.Find("TCustomPanel"))
        return;
    r.Register<TCustomPanel, TCustomControl>("TCustomPanel")
        .Enum("Alignment", AlignmentInfo(), &TCustomPanel::Alignment, &TCustomPanel::SetAlignment)
        .Default(taCenter)
        .Enum("BevelInner", BevelCutInfo(), &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner)
        .Default(bvNone)
        .Enum("BevelOuter", BevelCutInfo(), &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter)
        .Default(bvRaised)
        .Int("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth)
        .Default(1)
        .Int("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth)
        .Default(0)
        .Bool("ParentBackground", &TCustomPanel::ParentBackground, &TCustomPanel::SetParentBackground)
        .Default(1);
    r.Register<TPanel, TCustomPanel>("TPanel");
    r.Register<TCustomGroupBox, TCustomControl>("TCustomGroupBox");
    r.Register<TGroupBox, TCustomGroupBox>("TGroupBox");
    r.Register<TRadioGroup, TCustomGroupBox>("TRadioGroup")
        .Int("Columns", &TRadioGroup::Columns, &TRadioGroup::SetColumns)
        .Default(1)
        .Object("Items", &TRadioGroup::Items, &TRadioGroup::SetItems)
        .Int("ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex)
        .Default(-1);
    r.Register<TRadioButton, TButtonControl>("TRadioButton")
        .Enum("Alignment", AlignmentInfo(), &TRadioButton::Alignment, &TRadioButton::SetAlignment)
        .Default(taRightJustify)
        .Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)
        .Default(0);
    r.Register<TCustomEdit, TWinControl>("TCustomEdit")
        .Enum("BorderStyle", BorderStyleInfo(), &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle)
        .Default(bsSingle)
        .Int("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength)
        .Default(0)
        .Bool("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly)
        .Default(0)
        .Str("Text", &TControl::Text, &TControl::SetTextProp)
        .Event("OnChange", &TCustomEdit::OnChange);
    r.Register<TEdit, TCustomEdit>("TEdit");
    r.Register<TUpDown, TWinControl>("TUpDown")
        .Ref("Associate", &TUpDown::Associate, &TUpDown::SetAssociate)
        .Int("Increment", &TUpDown::Increment, &TUpDown::SetIncrement)
        .Default(1)
        .Int("Max", &TUpDown::Max, &TUpDown::SetMax)
        .Default(100)
        .Int("Min", &TUpDown::Min, &TUpDown::SetMin)
        .Default(0)
        .Enum("Orientation", UDOrientationInfo(), &TUpDown::Orientation, &TUpDown::SetOrientation)
        .Default(udVertical)
        .Int("Position", &TUpDown::Position, &TUpDown::SetPosition)
        .Default(0)
        .Bool("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap)
        .Default(0);
    r.Register<TTrackBar, TWinControl>("TTrackBar")
        .Int("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency)
        .Default(1)
        .Int("Max", &TTrackBar::Max, &TTrackBar::SetMax)
        .Default(10)
        .Int("Min", &TTrackBar::Min, &TTrackBar::SetMin)
        .Default(0)
        .Enum("Orientation", TrackBarOrientationInfo(), &TTrackBar::Orientation, &TTrackBar::SetOrientation)
        .Default(trHorizontal)
        .Int("Position", &TTrackBar::Position, &TTrackBar::SetPosition)
        .Default(0)
        .Event("OnChange", &TTrackBar::OnChange);
    r.Register<TCustomTabControl, TWinControl>("TCustomTabControl")
        .Ref("Images", &TCustomTabControl::Images, &TCustomTabControl::SetImages)
        .Bool("MultiLine", &TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine)
        .Default(0)
        .Enum("TabPosition", TabPositionInfo(), &TCustomTabControl::TabPosition, &TCustomTabControl::SetTabPosition)
        .Default(tpTop)
        .Event("OnChange", &TCustomTabControl::OnChange);
    r.Register<TTabControl, TCustomTabControl>("TTabControl")
        .Object("Tabs", &TTabControl::Tabs, &TTabControl::SetTabs)
        .Int("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex)
        .Default(-1);
    r.Register<TPageControl, TCustomTabControl>("TPageControl")
        .Ref("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
    r.Register<TTabSheet, TWinControl>("TTabSheet")
        .Int("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex)
        .Default(-1)
        .Bool("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible)
        .Default(1);
    r.Register<TStatusPanel, TCollectionItem>("TStatusPanel")
        .Enum("Alignment", AlignmentInfo(), &TStatusPanel::Alignment, &TStatusPanel::SetAlignment)
        .Default(taLeftJustify)
        .Str("Text", &TStatusPanel::Text, &TStatusPanel::SetText)
        .Int("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth);
    r.Register<TStatusBar, TWinControl>("TStatusBar")
        .Collection("Panels", &TStatusBar::PanelsAccess)
        .Bool("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel)
        .Default(0)
        .Str("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText)
        .Bool("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip)
        .Default(1);
    r.Register<TSpeedButton, TGraphicControl>("TSpeedButton")
        .Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp)
        .Default(0)
        .Int("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex)
        .Default(0)
        .Bool("Down", &TSpeedButton::Down, &TSpeedButton::SetDown)
        .Default(0)
        .Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat)
        .Default(0)
        .Object("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph)
        .Enum("Layout", ButtonLayoutInfo(), &TSpeedButton::Layout, &TSpeedButton::SetLayout)
        .Default(blGlyphLeft)
        .Int("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin)
        .Default(-1)
        .Int("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs)
        .Default(1)
        .Int("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing)
        .Default(4)
        .Bool("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent)
        .Default(1);
    r.Register<TBitBtn, TButton>("TBitBtn")
        .Object("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph)
        .Enum("Kind", BitBtnKindInfo(), &TBitBtn::Kind, &TBitBtn::SetKind)
        .Default(bkCustom)
        .Enum("Layout", ButtonLayoutInfo(), &TBitBtn::Layout, &TBitBtn::SetLayout)
        .Default(blGlyphLeft)
        .Int("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin)
        .Default(-1)
        .Int("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs)
        .Default(1)
        .Int("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing)
        .Default(4);
    r.Register<TScrollBox, TWinControl>("TScrollBox")
        .Bool("AutoScroll", &TScrollBox::AutoScroll, &TScrollBox::SetAutoScroll)
        .Default(1)
        .Enum("BorderStyle", BorderStyleInfo(), &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle)
        .Default(bsSingle);
}
