#include "skin/form/SkinMenuBar.h"

#include <algorithm>

#include "classlib/Unicode.h"
#include "classlib/forms/Form.h"
#include "classlib/menus/Menu.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "skin/form/SkinForm.h"
#include "skin/manager/SkinManager.h"
#include "skin/menu/MenuItemPainter.h"

namespace {

// One picture for every bar's composition; bars paint one at a time on the GUI thread.
TBitmap& WorkBitmap()
{
    static TBitmap work;
    return work;
}

bool OldSystem()
{
    const DWORD version = GetVersion();
    return (version & 0x80000000u) != 0 || LOBYTE(LOWORD(version)) < 5;
}

} // namespace

TSkinMenuBar::TSkinMenuBar(TSkinForm* form) : SkinData(form->SkinData), Form(form) {}

TSkinMenuBar::~TSkinMenuBar()
{
    for (auto& button : Buttons)
        if (Form->HotObject == button.get())
            Form->HotObject = nullptr;
}

void TSkinMenuBar::UseButtons(int count)
{
    count = std::max(count, 0);
    for (std::size_t i = static_cast<std::size_t>(count); i < Buttons.size(); ++i)
        if (Form->HotObject == Buttons[i].get())
            Form->HotObject = nullptr;
    Buttons.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        auto& button = Buttons[static_cast<std::size_t>(i)];
        if (!button)
            button = std::make_unique<TMenuBtn>(Form, SkinData, i);
        button->SkinData = SkinData;
        button->Index = i;
        button->Item = nullptr;
        button->Caption.clear();
        button->Enabled = 1;
        button->SubMenu = nullptr;
        button->Command = 0;
        button->Visible = 1;
    }
    ButtonCount = count;
}

void TSkinMenuBar::BuildButtons()
{
    if (OldSystem())
        BuildButtonsFromMenu();
    else
        Build(false);
}

void TSkinMenuBar::RebuildButtons() { Build(true); }

void TSkinMenuBar::Build(bool rebuild)
{
    if (HMENU current = GetMenu(Form->FormHandle))
        MenuHandle = current;
    if (!MenuHandle)
        return;
    if (Form->FormControl) {
        auto* form = dynamic_cast<TCustomForm*>(Form->FormControl);
        Menu = form ? form->Menu() : nullptr;
        if (!Menu)
            return;
    }
    const int count = GetMenuItemCount(MenuHandle);
    UseButtons(count);
    if (count <= 0)
        return;
    for (int i = 0; i < count; ++i) {
        TMenuBtn& button = *Buttons[static_cast<std::size_t>(i)];
        wchar_t text[81] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 80;
        if (!GetMenuItemInfoW(MenuHandle, static_cast<UINT>(i), TRUE, &info))
            continue;
        button.SubMenu = info.hSubMenu;
        button.Enabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) ? 0 : 1;
        button.Command = info.wID;
        button.Caption = text;
        if (!Menu || (rebuild && button.Caption.empty()))
            continue;
        if (TMenuItem* item = Menu->FindItem(info.wID)) {
            button.Caption = Utf8ToWide(item->Caption());
            button.Enabled = item->Enabled() ? 1 : 0;
            button.Item = item;
            button.SubMenu = item->Count() > 0 ? item->Handle() : nullptr;
            if (rebuild)
                button.Command = item->Command();
        }
    }
    SetMenu(Form->FormHandle, nullptr);
}

void TSkinMenuBar::BuildButtonsFromMenu()
{
    auto* form = dynamic_cast<TCustomForm*>(Form->FormControl);
    Menu = form ? form->Menu() : nullptr;
    if (!Menu)
        return;
    TMenuItem* root = Menu->Items();
    UseButtons(root->Count());
    for (int i = 0; i < root->Count(); ++i) {
        TMenuItem* item = root->Items(i);
        TMenuBtn& button = *Buttons[static_cast<std::size_t>(i)];
        button.Visible = item->Visible() ? 1 : 0;
        button.Enabled = item->Enabled() ? 1 : 0;
        button.Command = item->Command();
        button.Caption = Utf8ToWide(item->Caption());
        button.Item = item;
        button.SubMenu = item->Count() > 0 ? item->Handle() : nullptr;
    }
    SetMenu(Form->FormHandle, nullptr);
}

void TSkinMenuBar::PaintBar(HDC dc, const RECT& barRect)
{
    const int W = barRect.right - barRect.left, H = barRect.bottom - barRect.top;
    if (W <= 0 || H <= 0)
        return;
    TBitmap& work = WorkBitmap();
    work.SetPixelFormat(pf32bit);
    work.SetSize(W, H);
    HDC wdc = work.Canvas()->Handle();
    SetStretchBltMode(wdc, HALFTONE);
    const bool rtl = Form->RightToLeft;
    int start = 6;
    TDataSkinObject* element = SkinData->MenuBarSkin.get();
    if (element && !element->Image.Empty()) {
        DrawNineSlice(wdc, {0, 0, W, H}, element->Image, false, false, element->Tile == 1, std::max(element->Frame, 1),
                      Form->WindowActive ? 1 : 2, element->Margins());
        start = rtl ? element->RightWidth + 8 : element->LeftWidth + 4;
        if (W < start)
            start = 12;
    } else {
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(SkinData->MenubarColour)));
        const RECT all{0, 0, W, H};
        FillRect(wdc, &all, brush);
        DeleteObject(brush);
    }
    BarRect = barRect;
    BarImage.SetPixelFormat(pf32bit);
    BarImage.SetSize(W, H);
    BitBlt(BarImage.Canvas()->Handle(), 0, 0, W, H, wdc, 0, 0, SRCCOPY);

    const TMenuFont font;
    HGDIOBJ oldFont = SelectObject(wdc, font.Handle());
    const int oldMode = SetBkMode(wdc, TRANSPARENT);
    Painting = 1;
    int x = rtl ? W - start : start;
    for (auto& object : Buttons) {
        TMenuBtn& button = *object;
        if (!button.Visible) {
            button.Bounds = {};
            continue;
        }
        // Measured on a rectangle at the strip's place in the window, as the cells always were.
        RECT measure{barRect.left, 0, barRect.right, H};
        DrawTextW(wdc, button.Caption.c_str(), -1, &measure, DT_CALCRECT | DT_SINGLELINE);
        const int width = measure.right == 0 ? 0 : measure.right + 10;
        RECT cell = rtl ? RECT{x - width, 0, x, H - 1} : RECT{x, 0, x + width, H - 1};
        SetTextColor(wdc, button.Enabled ? static_cast<COLORREF>(ColorToRGB(SkinData->MenuBarTextColour))
                                         : GetSysColor(COLOR_BTNSHADOW));
        DrawTextW(wdc, button.Caption.c_str(), -1, &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        OffsetRect(&cell, barRect.left, barRect.top);
        button.Bounds = cell;
        x += rtl ? -width : width;
    }
    Painting = 0;
    SetBkMode(wdc, oldMode);
    SelectObject(wdc, oldFont);
    PaintMdiButtons(wdc, barRect);
    BitBlt(dc, barRect.left, barRect.top, W, H, wdc, 0, 0, SRCCOPY);
}

void TSkinMenuBar::PaintMdiButtons(HDC dc, const RECT& barRect)
{
    if (Form->MdiKind != mkFrame || !Form->MdiClient)
        return;
    BOOL maximized = FALSE;
    if (!SendMessageW(Form->MdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)) || !maximized)
        return;
    for (auto& button : Form->ButtonObjects) {
        TDataSkinSysButton& e = *button->Element;
        if (e.Visibility != 100 || e.Image.Empty() || !button->Visible)
            continue;
        RECT target = button->Bounds;
        OffsetRect(&target, -barRect.left, -barRect.top);
        const int w = target.right - target.left, h = target.bottom - target.top;
        if (w <= 0 || h <= 0)
            continue;
        const RECT frame = StripFrameRect(e.Image, false, std::max(e.Frame, 1), 1);
        TBitmap piece(w, h, pf32bit);
        HDC pdc = piece.Canvas()->Handle();
        SetStretchBltMode(pdc, COLORONCOLOR);
        StretchBlt(pdc, 0, 0, w, h, e.Image.Canvas()->Handle(), frame.left, frame.top, frame.right - frame.left,
                   frame.bottom - frame.top, SRCCOPY);
        DrawTransparent(dc, target, piece, kSkinKeyColour);
    }
    if (TSkinManager* manager = TheSkinManager(); manager && manager->MdiMaximized == 0)
        manager->SetMdiMaximized(true);
}

TMenuBtn* TSkinMenuBar::MenuButtonAt(POINT point) const
{
    for (const auto& button : Buttons)
        if (!button->Caption.empty() && PtInRect(&button->Bounds, point))
            return button.get();
    return nullptr;
}
