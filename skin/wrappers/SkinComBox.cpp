// Combo boxes: the skin's ring and button over the control's own text and list.
#include "skin/wrappers/SkinComBox.h"

#include <algorithm>

#include "classlib/controls/Messages.h"
#include "skin/SkinMessages.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "skin/form/SkinForm.h"
#include "skin/manager/SkinManager.h"
#include "skin/wrappers/SkinScrollbarH.h"
#include "skin/wrappers/SkinStates.h"

namespace {
constexpr int kComboImages = 4;
// The extended style bit that puts the drop-down button on the left.
constexpr DWORD kButtonOnLeft = WS_EX_LEFTSCROLLBAR;

int FramesOf(const TDataSkinObject& element)
{
    return element.Frame > 0 ? element.Frame : kComboImages;
}

RECT Mirrored(RECT margins)
{
    std::swap(margins.left, margins.right);
    return margins;
}
} // namespace

TSkinComBox::~TSkinComBox()
{
    ReleaseEdit();
}

void TSkinComBox::AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas)
{
    if (Attached)
        return;
    TSkinControl::AttachControl(form, skin, colorControl, canvas);
    if (Attached)
        AttachParts();
}

void TSkinComBox::AttachWindow(HWND handle, TSkinData* skin, TSkinForm* form, TCanvas* canvas)
{
    if (Attached)
        return;
    TSkinControl::AttachWindow(handle, skin, form, canvas);
    if (Attached)
        AttachParts();
}

void TSkinComBox::AttachParts()
{
    ReadStyles();
    const DWORD kind = ComboStyle & 3;
    if ((ComboStyle & 2) || !(ComboStyle & 1)) {
        // The edit of a drop-down combo; only windows of the byte-string family are followed.
        if (!UnicodeWindow)
            if (HWND edit = GetWindow(Handle, GW_CHILD)) {
                EditHandle = edit;
                NewEditProc = std::make_unique<TObjectWndProc>(this, &TSkinComBox::EditProcThunk);
                OldEditProc = SwapWindowProc(edit, NewEditProc->Proc(), false);
            }
        return;
    }
    if (kind != CBS_SIMPLE || !ComboBoxInfo(Handle, Info) || !Info.hwndList)
        return;
    const HWND list = Info.hwndList;
    const bool skinned = SendMessageW(list, SKM_ISSKINNED, 0, 0) == 1 || (Form && Form->ChildSkinOf(list));
    if (skinned || !(GetWindowLongPtrW(list, GWL_STYLE) & WS_CHILD))
        return;
    ListSkin = new TSkinScrollbarH(nullptr);
    ListSkin->AttachWindow(list, SkinData, Form, Canvas);
}

void TSkinComBox::ReleaseEdit()
{
    if (NewEditProc && EditHandle && IsWindow(EditHandle))
        SwapWindowProc(EditHandle, OldEditProc, false);
    NewEditProc.reset();
    EditHandle = nullptr;
}

LRESULT TSkinComBox::EditProcThunk(void* self, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return static_cast<TSkinComBox*>(self)->EditProc(msg, wParam, lParam);
}

LRESULT TSkinComBox::EditProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    const HWND edit = EditHandle;
    const WNDPROC old = OldEditProc;
    const LRESULT result = CallSavedProc(old, false, edit, msg, wParam, lParam);
    if (!SkinEnabled)
        return result;
    switch (msg) {
    case WM_PAINT:
        PaintNow(nullptr);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseState |= msPressed;
        Invalidate();
        break;
    case WM_LBUTTONUP:
        MouseState &= ~msPressed;
        Invalidate();
        break;
    case WM_NCDESTROY:
        // The window is gone with its procedure; nothing to give back.
        NewEditProc.reset();
        EditHandle = nullptr;
        break;
    default:
        break;
    }
    return result;
}

void TSkinComBox::AfterMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_DRAWITEM:
    case WM_NCPAINT:
        Invalidate();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseState |= msPressed;
        Invalidate();
        break;
    case WM_LBUTTONUP:
        MouseState &= ~msPressed;
        Invalidate();
        break;
    case WM_COMMAND:
        // The edit of a drop-down combo takes the focus in place of the combo.
        if (HIWORD(msg.WParam) == EN_SETFOCUS || HIWORD(msg.WParam) == EN_KILLFOCUS)
            Invalidate();
        break;
    case CN_COMMAND:
        // The list took the mouse button's release: the press ends when it closes.
        if (HIWORD(msg.WParam) == CBN_CLOSEUP && (MouseState & msPressed)) {
            MouseState &= ~msPressed;
            Invalidate();
        }
        break;
    case CM_MOUSEENTER:
        if (IsWindowEnabled(Handle))
            MouseState |= msHot;
        break;
    case CM_MOUSELEAVE:
        if (IsWindowEnabled(Handle)) {
            MouseState &= ~msHot;
            Invalidate();
        }
        break;
    default:
        TSkinControl::AfterMessage(msg);
        break;
    }
}

void TSkinComBox::ReadStyles()
{
    ComboStyle = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_STYLE));
    ComboExStyle = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_EXSTYLE));
}

bool TSkinComBox::RightToLeft() const
{
    return (ComboExStyle & kButtonOnLeft) != 0;
}

int TSkinComBox::ImageIndex() const
{
    return StateImage((MouseState & msPressed) != 0, Focused || (MouseState & msHot), Enabled);
}

void TSkinComBox::Draw(HDC dc, const RECT& rect)
{
    if (!SkinData || !SkinData->ComboButton || SkinData->ComboButton->Image.Empty())
        return;
    ReadStyles();
    COMBOBOXINFO info{};
    if (ComboBoxInfo(Handle, info)) {
        Info = info;
        if (info.stateButton & STATE_SYSTEM_INVISIBLE)
            return;
    }
    const HWND focus = GetFocus();
    Focused = focus && (focus == Handle || IsChild(Handle, focus));
    Enabled = !(ComboStyle & WS_DISABLED);
    switch (SkinData->ComboButton->Style) {
    case 1:
        DrawClassic(dc, rect);
        break;
    case 2:
        DrawWhole(dc, rect, ImageIndex());
        break;
    default:
        DrawRingAndButton(dc, rect, ImageIndex());
        break;
    }
}

void TSkinComBox::DrawWhole(HDC dc, const RECT& rect, int index)
{
    TDataSkinObject* element = SkinData->ComboButton.get();
    // The mirrored strip (the sunken edge's picture) serves a button on the left; its frames
    // run in reverse order.
    if (RightToLeft() && SkinData->SunkEdge && !SkinData->SunkEdge->Image.Empty()) {
        element = SkinData->SunkEdge.get();
        index = MirroredImage(index, FramesOf(*element));
    }
    DrawNineSlice(dc, rect, element->Image, true, false, element->Tile != 0, FramesOf(*element), index,
                  element->Margins());
}

void TSkinComBox::DrawRingAndButton(HDC dc, const RECT& rect, int index)
{
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    const int a = GetSystemMetrics(SM_CXHSCROLL);
    const bool rtl = RightToLeft();
    const int saved = SaveDC(dc);
    const RECT field = rtl ? RECT{a + 4, 2, w - 2, h - 2} : RECT{2, 2, w - a - 4, h - 2};
    ExcludeClipRect(dc, rect.left + field.left, rect.top + field.top, rect.left + field.right,
                    rect.top + field.bottom);
    if (SkinData->SunkEdge)
        DrawSkinElement(dc, rect, FramesOf(*SkinData->SunkEdge), index, *SkinData->SunkEdge);

    TDataSkinBorder& button = *SkinData->ComboButton;
    const int frames = FramesOf(button);
    RECT place = rtl ? RECT{0, 0, a + 2, h} : RECT{w - a - 2, 0, w - 2, h};
    OffsetRect(&place, rect.left, rect.top);
    if (rtl && !button.Image2.Empty())
        DrawNineSlice(dc, place, button.Image2, true, false, button.Tile != 0, frames, MirroredImage(index, frames),
                      Mirrored(button.Margins()));
    else
        DrawNineSlice(dc, place, button.Image, true, false, button.Tile != 0, frames, index, button.Margins());
    if (TDataSkinObject* arrow = SkinData->ExtraImages.get(); arrow && !arrow->Image.Empty())
        DrawStripImageCentered(dc, place, arrow->Image, true, arrow->Frame > 0 ? arrow->Frame : 5, index);
    RestoreDC(dc, saved);
}

void TSkinComBox::DrawClassic(HDC dc, const RECT& rect)
{
    const HBRUSH current = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
    RECT ring = rect;
    InflateRect(&ring, -1, -1);
    FrameRect(dc, &ring, current);
    RECT button = rect;
    InflateRect(&button, -2, -2);
    button.left = button.right - GetSystemMetrics(SM_CYVTHUMB);
    FillRect(dc, &button, current);
    TDataSkinBorder& element = *SkinData->ComboButton;
    DrawStripImage(dc, button, element.Image, false, FramesOf(element), ImageIndex());
    HBRUSH shadow = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(SkinData->ButtonShadowColour)));
    FrameRect(dc, &rect, shadow);
    DeleteObject(shadow);
}
