#include "skin/wrappers/SkinStatusBar.h"

#include <commctrl.h>

#include "classlib/TypeInfo.h"
#include "classlib/Unicode.h"
#include "classlib/controls/WinControl.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/Font.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinText.h"
#include "skin/draw/SkinDraw.h"
#include "skin/manager/SkinManager.h"

namespace {
constexpr int kSizeGripImage = 5;
constexpr int kStatusEdgeImages = 3;

UINT AlignmentFlag(const std::string& name)
{
    const std::string lower = LowerCase(name);
    if (lower == "tarightjustify")
        return DT_RIGHT;
    if (lower == "tacenter")
        return DT_CENTER;
    return DT_LEFT;
}
} // namespace

bool TSkinStatusBar::BeforeMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_PAINT:
        PaintOnWmPaint(msg);
        return false;
    case WM_ERASEBKGND:
        msg.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeMessage(msg);
    }
}

std::vector<TSkinStatusBar::TPanelText> TSkinStatusBar::PanelTexts() const
{
    std::vector<TPanelText> panels;
    if (Control && HasProp("Panels")) {
        if (TCollectionAccess* items = GetCollectionProp(Control, "Panels"))
            for (int i = 0; i < items->Count(); ++i) {
                TPersistent* item = items->Item(i);
                TPanelText panel;
                if (HasProperty(item, "Text"))
                    panel.text = Utf8ToWide(GetPropText(item, "Text"));
                if (HasProperty(item, "Alignment"))
                    panel.align = AlignmentFlag(GetPropText(item, "Alignment"));
                panels.push_back(std::move(panel));
            }
        return panels;
    }
    const int count = static_cast<int>(SendMessageW(Handle, SB_GETPARTS, 0, 0));
    for (int i = 0; i < count; ++i) {
        const int length = LOWORD(SendMessageW(Handle, SB_GETTEXTLENGTHW, static_cast<WPARAM>(i), 0));
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(Handle, SB_GETTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        panels.push_back({std::move(text), DT_LEFT});
    }
    return panels;
}

void TSkinStatusBar::DrawPanels(HDC dc, const RECT& bar)
{
    const std::vector<TPanelText> panels = PanelTexts();
    TDataSkinObject* edges = SkinData->StatusBarEdges.get();
    for (std::size_t i = 0; i < panels.size(); ++i) {
        RECT r{};
        SendMessageW(Handle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        InflateRect(&r, 2, 2);
        if (i + 1 == panels.size())
            r.right = bar.right;
        if (edges && !edges->Image.Empty())
            DrawSkinElement(dc, r, edges->Frame > 0 ? edges->Frame : kStatusEdgeImages, 1, *edges);
        RECT text = r;
        InflateRect(&text, -4, 0);
        SkinDrawText(dc, panels[i].text, text, panels[i].align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    }
}

void TSkinStatusBar::Draw(HDC dc, const RECT& rect)
{
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (Buffer.Width() != w || Buffer.Height() != h)
        Buffer.SetSize(w, h);
    HDC buffer = Buffer.Canvas()->Handle();
    const RECT bar{0, 0, w, h};
    FillFace(buffer, bar);
    const int saved = SaveDC(buffer);
    TDataSkinObject* edges = SkinData->StatusBarEdges.get();
    HFONT plain = nullptr;
    if (auto* font = PropObjectAs<TFont>("Font")) {
        LOGFONTW description{};
        GetObjectW(font->Handle(), sizeof description, &description);
        description.lfWeight = FW_NORMAL;
        description.lfItalic = description.lfUnderline = description.lfStrikeOut = FALSE;
        plain = CreateFontIndirectW(&description);
        SelectObject(buffer, plain);
        SetTextColor(buffer, static_cast<COLORREF>(ColorToRGB(font->Color())));
    } else {
        auto handle = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
        SelectObject(buffer, handle ? static_cast<HGDIOBJ>(handle) : GetStockObject(DEFAULT_GUI_FONT));
        SetTextColor(buffer, static_cast<COLORREF>(ColorToRGB(SkinData->ButtonTextColour)));
    }
    if (edges)
        SetTextColor(buffer, static_cast<COLORREF>(ColorToRGB(edges->NormalColour2)));
    SetBkMode(buffer, TRANSPARENT);

    const bool simple = PropTrue("SimplePanel") || SendMessageW(Handle, SB_ISSIMPLE, 0, 0) != 0;
    if (simple || PanelTexts().empty()) {
        std::wstring text = PropWide("SimpleText");
        if (text.empty())
            text = L" ";
        RECT r = bar;
        InflateRect(&r, -2, 0);
        SkinDrawText(buffer, text, r, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    } else {
        DrawPanels(buffer, bar);
    }
    RestoreDC(buffer, saved);
    if (plain)
        DeleteObject(plain);

    TDataSkinObject* grip = SkinData->ExtraImages.get();
    if ((GetWindowLongPtrW(Handle, GWL_STYLE) & SBARS_SIZEGRIP) && grip && !grip->Image.Empty()) {
        const int images = grip->Frame > 0 ? grip->Frame : kSizeGripImage;
        const RECT frame = StripFrameRect(grip->Image, false, images, kSizeGripImage);
        const int gw = frame.right - frame.left, gh = frame.bottom - frame.top;
        DrawStripImage(buffer, {w - gw, h - gh, w, h}, grip->Image, true, images, kSizeGripImage);
    }
    BitBlt(dc, rect.left, rect.top, w, h, buffer, 0, 0, SRCCOPY);
    if (auto* container = dynamic_cast<TWinControl*>(Control))
        container->PaintControls(dc);
}
