#include "skin/menu/MenuItemPainter.h"

#include <algorithm>

#include "classlib/Unicode.h"
#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/ImageList.h"
#include "classlib/menus/Menu.h"
#include "classlib/menus/MenuItem.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"

namespace {

constexpr int kGlyphSize = 16;

bool Windows9x() { return (GetVersion() & 0x80000000u) != 0; }

int ItemLeftWidth(const TSkinData& skin) { return skin.MenuItem ? skin.MenuItem->LeftWidth : 0; }

void Fill(HDC dc, const RECT& r, TColor colour)
{
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(colour)));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// The half-tone of a pressed-in button face behind a checked image.
void FillDither(HDC dc, const RECT& r)
{
    TBitmap pattern(8, 8, pf32bit);
    const TColor a = static_cast<TColor>(GetSysColor(COLOR_BTNFACE));
    const TColor b = static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pattern.Canvas()->SetPixel(x, y, ((x + y) & 1) ? b : a);
    HBRUSH brush = CreatePatternBrush(pattern.Handle());
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// The system check mark, its black pixels in `colour`, the rest left as it was.
void DrawCheckMark(HDC dc, const RECT& box, COLORREF colour)
{
    HBITMAP mark = LoadBitmapW(nullptr, MAKEINTRESOURCEW(32760)); // OBM_CHECK
    if (!mark)
        return;
    BITMAP info{};
    GetObjectW(mark, sizeof info, &info);
    TBitmap picture(info.bmWidth, info.bmHeight, pf32bit);
    HDC target = picture.Canvas()->Handle();
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, mark);
    // A monochrome source takes the target's text colour for 0 bits, its back colour for 1.
    const COLORREF oldText = SetTextColor(target, colour);
    const COLORREF oldBack = SetBkColor(target, static_cast<COLORREF>(kSkinKeyColour));
    BitBlt(target, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    SetTextColor(target, oldText);
    SetBkColor(target, oldBack);
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(mark);
    const int x = box.left + (box.right - box.left - info.bmWidth) / 2 + 1;
    const int y = box.top + (box.bottom - box.top - info.bmHeight) / 2 + 1;
    DrawTransparent(dc, {x, y, x + info.bmWidth, y + info.bmHeight}, picture, kSkinKeyColour);
}

// The separator strip: the lowest rows of the element's second frame, its margins kept.
void DrawSeparatorStrip(HDC dc, const RECT& rect, TDataSkinObject& element)
{
    TBitmap& image = element.Image;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    const int cell = image.Width() / 5;
    if (w <= 0 || h <= 0 || cell <= 0)
        return;
    const int rows = std::min(h, image.Height());
    const int top = image.Height() > h ? image.Height() - h : 0;
    const int L = std::min(static_cast<int>(element.LeftWidth), w), R = std::min(static_cast<int>(element.RightWidth), w - L);
    TBitmap strip(w, h, pf32bit);
    HDC to = strip.Canvas()->Handle();
    HDC from = image.Canvas()->Handle();
    const int oldMode = SetStretchBltMode(to, COLORONCOLOR);
    StretchBlt(to, 0, 0, L, h, from, cell, top, L, rows, SRCCOPY);
    StretchBlt(to, w - R, 0, R, h, from, 2 * cell - R, top, R, rows, SRCCOPY);
    const int middle = cell - L - R;
    if (middle > 0)
        StretchBlt(to, L, 0, w - L - R, h, from, cell + L, top, middle, rows, SRCCOPY);
    SetStretchBltMode(to, oldMode);
    DrawTransparent(dc, rect, strip, kSkinKeyColour);
}

} // namespace

bool TMenuItemLook::HasImage() const
{
    return Images && ImageIndex >= 0 && ImageIndex < Images->Count();
}

TMenuItemLook LookOfItem(TMenuItem& item)
{
    TMenuItemLook look;
    look.Caption = Utf8ToWide(item.Caption());
    if (item.ShortCutKey())
        look.ShortCut = Utf8ToWide(ShortCutToText(item.ShortCutKey()));
    look.Enabled = item.Enabled();
    look.Checked = item.Checked();
    look.ImageIndex = item.ImageIndex();
    if (TMenu* menu = item.GetParentMenu())
        look.Images = menu->Images();
    return look;
}

TMenuItemLook LookOfMenuEntry(HMENU menu, UINT id)
{
    TMenuItemLook look;
    wchar_t text[81] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 80;
    if (!GetMenuItemInfoW(menu, id, FALSE, &info))
        return look;
    std::wstring caption = text;
    if (info.fType & MFT_SEPARATOR) {
        caption = L"-";
    } else if (const auto tab = caption.find(L'\t'); tab != std::wstring::npos) {
        look.ShortCut = caption.substr(tab + 1);
        caption.resize(tab);
    }
    look.Caption = caption;
    look.Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
    look.Checked = (info.fState & MFS_CHECKED) != 0;
    look.Default = (info.fState & MFS_DEFAULT) != 0;
    look.RightToLeft = (info.fType & MFT_RIGHTORDER) != 0;
    return look;
}

TMenuFont::TMenuFont()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTW font{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        font = metrics.lfMenuFont;
    else
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font_ = CreateFontIndirectW(&font);
    font.lfWeight = FW_BOLD;
    bold_ = CreateFontIndirectW(&font);
}

TMenuFont::~TMenuFont()
{
    DeleteObject(font_);
    DeleteObject(bold_);
}

COLORREF MenuTextColour(const TSkinData& skin, bool enabled, bool selected)
{
    if (enabled)
        return static_cast<COLORREF>(ColorToRGB(selected ? skin.HilightTextColour : skin.MenuTextColour));
    // A shadow colour equal to the text colour would make disabled items look enabled.
    const TColor shadow = ColorToRGB(skin.ButtonShadowColour);
    if (shadow == ColorToRGB(skin.MenuTextColour))
        return GetSysColor(COLOR_BTNSHADOW);
    return static_cast<COLORREF>(shadow);
}

void DrawItemContent(const TSkinData& skin, const TMenuItemLook& look, TCanvas& canvas, bool selected, RECT rect)
{
    HDC dc = canvas.Handle();
    const TMenuFont fonts;
    const bool line = look.IsLine();
    int glyph = look.Images ? look.Images->Width() : kGlyphSize;
    if (look.Checked)
        glyph = std::max(glyph, kGlyphSize);
    const int margin = ItemLeftWidth(skin);

    RECT box{};
    box.top = rect.top + 1;
    box.bottom = box.top + glyph;
    if (look.RightToLeft) {
        box.right = line ? rect.right : rect.right - 1 - margin;
        box.left = line ? box.right : box.right - glyph;
    } else {
        box.left = rect.left + 1 + margin;
        box.right = line ? box.left : box.left + glyph;
    }

    const COLORREF colour = MenuTextColour(skin, look.Enabled, selected);
    if (!line && look.HasImage()) {
        if (look.Checked) {
            FillDither(dc, box);
            DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
        }
        look.Images->Draw(canvas, box.left, box.top, look.ImageIndex, look.Enabled);
    } else if (!line && look.Checked) {
        DrawCheckMark(dc, box, colour);
    }

    RECT text = look.RightToLeft ? RECT{rect.left + 1, rect.top, box.left - 3, rect.bottom}
                                 : RECT{box.right + 3, rect.top, rect.right - 1, rect.bottom};
    if (line) {
        RECT etched{text.left, text.top + 4, text.right, text.top + 6};
        DrawEdge(dc, &etched, EDGE_ETCHED, BF_TOP);
        return;
    }
    HGDIOBJ oldFont = SelectObject(dc, look.Default ? fonts.Bold() : fonts.Handle());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, colour);
    const UINT format = DT_SINGLELINE | DT_EXPANDTABS | (look.RightToLeft ? DT_RIGHT | DT_RTLREADING : DT_LEFT);
    const std::wstring measured = (look.Caption.empty() || look.Caption == L"&") ? look.Caption + L" " : look.Caption;
    RECT size = text;
    DrawTextW(dc, measured.c_str(), -1, &size, format | DT_CALCRECT);
    const int th = size.bottom - size.top, tw = size.right - size.left;
    text.top = rect.top + (rect.bottom - rect.top - th) / 2;
    text.bottom = text.top + th;
    DrawTextW(dc, look.Caption.c_str(), -1, &text, format);
    if (!look.ShortCut.empty()) {
        RECT keys = look.RightToLeft ? RECT{rect.left + 11, text.top, text.right - tw, text.bottom}
                                     : RECT{text.left + tw, text.top, rect.right - 11, text.bottom};
        DrawTextW(dc, look.ShortCut.c_str(), -1, &keys,
                  DT_SINGLELINE | DT_EXPANDTABS | (look.RightToLeft ? DT_LEFT : DT_RIGHT));
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

void DrawItemPlain(const TSkinData& skin, const TMenuItemLook& look, TCanvas& canvas, RECT rect, bool selected)
{
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return;
    TBitmap work(w, h, pf32bit);
    Fill(work.Canvas()->Handle(), {0, 0, w, h}, selected ? skin.HilightColour : skin.MenuColour);
    DrawItemContent(skin, look, *work.Canvas(), selected, {0, 0, w, h});
    BitBlt(canvas.Handle(), rect.left, rect.top, w, h, work.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void DrawItemSkinned(TSkinData& skin, const TMenuItemLook& look, TCanvas& canvas, RECT rect, bool selected,
                     TBitmap* background, POINT origin)
{
    TDataSkinObject* element = skin.MenuItem.get();
    if (!element) {
        DrawItemPlain(skin, look, canvas, rect, selected);
        return;
    }
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return;
    TBitmap work(w, h, pf32bit);
    HDC dc = work.Canvas()->Handle();
    if (background && !background->Empty())
        BitBlt(dc, 0, 0, w, h, background->Canvas()->Handle(), origin.x, origin.y, SRCCOPY);
    else
        Fill(dc, {0, 0, w, h}, skin.MenuColour);
    if (look.IsLine()) {
        BitBlt(canvas.Handle(), rect.left, rect.top, w, h, dc, 0, 0, SRCCOPY);
        if (!element->Image.Empty())
            DrawSeparatorStrip(canvas.Handle(), rect, *element);
        return;
    }
    if (!element->Image.Empty())
        DrawNineSlice(dc, {0, 0, w, h}, element->Image, element->Trans != 0, false, element->Tile != 0,
                      std::max(element->Frame, 1), selected ? 4 : 1, element->Margins());
    DrawItemContent(skin, look, *work.Canvas(), selected, {0, 0, w, h});
    BitBlt(canvas.Handle(), rect.left, rect.top, w, h, dc, 0, 0, SRCCOPY);
}

int MainMenuItemExtra(const TSkinData& skin, bool hasImages)
{
    return ItemLeftWidth(skin) + (hasImages ? 10 : 35);
}

int PopupItemExtra(const TSkinData& skin, bool hasImages)
{
    return ItemLeftWidth(skin) + (hasImages ? 12 : 35);
}

SIZE MeasureItemText(const TSkinData& skin, HDC dc, const std::wstring& text, int proposedHeight)
{
    const TMenuFont fonts;
    HGDIOBJ old = SelectObject(dc, fonts.Handle());
    RECT r{0, 0, 0, 0};
    if (!text.empty())
        DrawTextW(dc, text.c_str(), -1, &r, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
    SelectObject(dc, old);
    SIZE size{r.right - r.left + 26 + ItemLeftWidth(skin), text.empty() ? 8 : proposedHeight + 4};
    if (Windows9x())
        size.cy += 4;
    return size;
}
