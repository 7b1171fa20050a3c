// Tab sets: each tab as wide as its text plus 9 pixels, from the start margin up to the end
// margin, the selected one lit.
#include "skin/wrappers/SkinTab31.h"

#include <algorithm>

#include "classlib/Strings.h"
#include "classlib/TypeInfo.h"
#include "classlib/Unicode.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/Font.h"
#include "skin/BitmapHelpers.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinText.h"
#include "skin/draw/SkinDraw.h"

namespace {
constexpr int kTabImages = 5;
constexpr int kTabPadding = 9;
} // namespace

void TSkinTab31::AttachWindow(HWND handle, TSkinData* skin, TSkinForm* form, TCanvas* canvas)
{
    if (Attached)
        return;
    TSkinControl::AttachWindow(handle, skin, form, canvas);
    BuildImage();
}

void TSkinTab31::BuildImage()
{
    TabImage.Assign(TBitmap());
    TDataSkinBorder* tabs = SkinData ? SkinData->Tabs.get() : nullptr;
    if (!tabs || tabs->Image.Empty())
        return;
    TabImage.Assign(tabs->Image);
    TabImage.SetPixelFormat(pf24bit);
    FlipBitmap(TabImage);
    const RECT m = tabs->Margins();
    TabMargins = {m.left, m.bottom, m.right, m.top};
}

void TSkinTab31::Refresh()
{
    TSkinControl::Refresh();
    BuildImage();
}

bool TSkinTab31::BeforeMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_ERASEBKGND:
        msg.Result = 1;
        return false;
    case WM_PAINT:
        PaintOnWmPaint(msg);
        return true;
    default:
        return TSkinControl::BeforeMessage(msg);
    }
}

TPersistent* TSkinTab31::Source() const
{
    return Control ? Control : ControlFromHandle(Handle);
}

std::int64_t TSkinTab31::Ordinal(const char* name, std::int64_t fallback) const
{
    TPersistent* source = Source();
    return source ? GetOrdPropOr(source, name, fallback) : fallback;
}

std::vector<std::string> TSkinTab31::Tabs() const
{
    TPersistent* source = Source();
    if (!source || !HasProperty(source, "Tabs"))
        return {};
    if (auto* list = GetObjectPropAs<TStrings>(source, "Tabs")) {
        std::vector<std::string> lines;
        for (int i = 0; i < list->Count(); ++i)
            lines.push_back(list->Get(i));
        return lines;
    }
    try {
        return GetStringsProp(source, "Tabs");
    } catch (const EPropertyError&) {
        return {};
    }
}

void TSkinTab31::Draw(HDC dc, const RECT& rect)
{
    if (!SkinData || TabImage.Empty())
        return;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return;
    Buffer.SetPixelFormat(pf24bit);
    if (Buffer.Width() != w || Buffer.Height() != h)
        Buffer.SetSize(w, h);
    TCanvas& canvas = *Buffer.Canvas();
    HDC buffer = canvas.Handle();
    FillFace(buffer, {0, 0, w, h});
    TPersistent* source = Source();
    if (auto* font = source ? GetObjectPropAs<TFont>(source, "Font") : nullptr)
        canvas.Font()->Assign(*font);
    else
        canvas.Font()->SetHandle(reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0)));
    canvas.RequireTools();
    SetBkMode(buffer, TRANSPARENT);

    TDataSkinBorder& tabs = *SkinData->Tabs;
    const int frames = tabs.Frame > 0 ? tabs.Frame : kTabImages;
    const std::vector<std::string> texts = Tabs();
    const int selected = static_cast<int>(Ordinal("TabIndex", -1));
    const int end = w - static_cast<int>(Ordinal("EndMargin", 0));
    int x = static_cast<int>(Ordinal("StartMargin", 0));
    for (int i = std::max(0, static_cast<int>(Ordinal("FirstIndex", 0))); i < static_cast<int>(texts.size()); ++i) {
        const std::wstring text = Utf8ToWide(texts[static_cast<std::size_t>(i)]);
        RECT measured{0, 0, w, h};
        SkinDrawText(buffer, text, measured, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP);
        const int tabWidth = measured.right - measured.left + kTabPadding;
        if (x + tabWidth > end)
            break;
        RECT tab{x, 0, x + tabWidth, h};
        const bool lit = i == selected;
        DrawNineSlice(buffer, tab, TabImage, tabs.Trans == 1, false, tabs.Tile != 0, frames, lit ? 2 : 1, TabMargins);
        SetTextColor(buffer, static_cast<COLORREF>(ColorToRGB(lit ? tabs.MouseOverColour2 : tabs.NormalColour2)));
        SkinDrawText(buffer, text, tab, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        x += tabWidth;
    }
    BitBlt(dc, rect.left, rect.top, w, h, buffer, 0, 0, SRCCOPY);
}
