#include "classlib/controls/Control.h"

#include <cstdio>

#include "classlib/controls/WinControl.h"
#include "classlib/forms/Form.h"
#include "classlib/graphics/Font.h"
#include "classlib/menus/PopupMenu.h"

TShiftState ShiftStateFromKeys(WPARAM keys)
{
    TShiftState s = 0;
    if (keys & MK_SHIFT)
        s |= 1u << ssShift;
    if (keys & MK_CONTROL)
        s |= 1u << ssCtrl;
    if (keys & MK_LBUTTON)
        s |= 1u << ssLeft;
    if (keys & MK_RBUTTON)
        s |= 1u << ssRight;
    if (keys & MK_MBUTTON)
        s |= 1u << ssMiddle;
    if (GetKeyState(VK_MENU) < 0)
        s |= 1u << ssAlt;
    return s;
}

TShiftState KeyboardShiftState()
{
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        s |= 1u << ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        s |= 1u << ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        s |= 1u << ssAlt;
    return s;
}

std::string ControlAtomName()
{
    static const std::string name = [] {
        char text[40];
        std::snprintf(text, sizeof text, "ControlOfs%.8X%.8X",
                      static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr))),
                      static_cast<unsigned>(GetCurrentThreadId()));
        return std::string(text);
    }();
    return name;
}

ATOM ControlAtom()
{
    static const ATOM atom = GlobalAddAtomA(ControlAtomName().c_str());
    return atom;
}

TControl* ControlFromHandle(HWND window)
{
    if (!window)
        return nullptr;
    return static_cast<TControl*>(GetPropW(window, reinterpret_cast<LPCWSTR>(MAKEINTATOM(ControlAtom()))));
}

TControl* FindControl(HWND window)
{
    while (window) {
        if (TControl* c = ControlFromHandle(window))
            return c;
        // Up through child windows only: GetParent of a pop-up is its owner, another window.
        if (!(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD))
            break;
        window = GetParent(window);
    }
    return nullptr;
}

TCustomForm* GetParentForm(TControl* control)
{
    TCustomForm* form = nullptr;
    for (TControl* c = control; c; c = c->Parent())
        if (auto* f = dynamic_cast<TCustomForm*>(c))
            form = f;
    return form;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>())
{
    windowProc_ = [this](TMessage& m) { WndProc(m); };
    font_->OnChange = [this] {
        if (!applyingParentFont_)
            parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl()
{
    if (popupMenu_)
        RemoveFreeNotification(popupMenu_);
    if (parent_)
        parent_->RemoveControl(this);
    font_->OnChange = nullptr;
}

TComponent* TControl::GetParentComponent() const
{
    return parent_;
}

void TControl::SetParentComponent(TComponent* parent)
{
    if (auto* p = dynamic_cast<TWinControl*>(parent))
        SetParent(p);
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    if (parent == this)
        throw EComponentError("A control cannot be its own parent");
    if (parent_)
        parent_->RemoveControl(this);
    if (parent)
        parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    Invalidate();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Invalidate();
    BoundsChanged();
    RequestAlign();
}

RECT TControl::ClientRect() const
{
    return {0, 0, width_, height_};
}

int TControl::ClientWidth() const
{
    RECT r = ClientRect();
    return r.right - r.left;
}

int TControl::ClientHeight() const
{
    RECT r = ClientRect();
    return r.bottom - r.top;
}

void TControl::SetClientWidth(int value)
{
    SetWidth(width_ - ClientWidth() + value);
}

void TControl::SetClientHeight(int value)
{
    SetHeight(height_ - ClientHeight() + value);
}

POINT TControl::ClientOrigin() const
{
    if (!parent_)
        return {left_, top_};
    POINT p = parent_->ClientOrigin();
    return {p.x + left_, p.y + top_};
}

POINT TControl::ClientToScreen(POINT p) const
{
    POINT o = ClientOrigin();
    return {p.x + o.x, p.y + o.y};
}

POINT TControl::ScreenToClient(POINT p) const
{
    POINT o = ClientOrigin();
    return {p.x - o.x, p.y - o.y};
}

void TControl::SetVisible(bool value)
{
    if (value == visible_)
        return;
    if (!value)
        Invalidate();
    visible_ = value;
    if (value)
        Invalidate();
    VisibleChanged();
    Perform(CM_VISIBLECHANGED, value ? 1 : 0);
    RequestAlign();
}

bool TControl::Showing() const
{
    if (!visible_)
        return false;
    return parent_ ? parent_->Showing() : true;
}

void TControl::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    Invalidate();
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const std::string& value)
{
    if (value == text_)
        return;
    text_ = value;
    Invalidate();
    Perform(CM_TEXTCHANGED);
}

void TControl::SetFont(TFont* value)
{
    if (value && value != font_.get())
        font_->Assign(*value);
}

void TControl::SetParentFont(bool value)
{
    parentFont_ = value;
    if (value && parent_)
        ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!parentFont_ || !parent_)
        return;
    applyingParentFont_ = true;
    font_->Assign(*parent_->Font());
    applyingParentFont_ = false;
}

void TControl::FontChanged()
{
    Perform(CM_FONTCHANGED);
    Invalidate();
}

void TControl::SetColor(TColor value)
{
    parentColor_ = false;
    if (value == color_)
        return;
    color_ = value;
    ColorChanged();
}

void TControl::SetParentColor(bool value)
{
    parentColor_ = value;
    if (value)
        ParentColorChanged();
}

void TControl::ParentColorChanged()
{
    if (!parentColor_ || !parent_ || color_ == parent_->Color())
        return;
    color_ = parent_->Color();
    ColorChanged();
}

void TControl::ColorChanged()
{
    Perform(CM_COLORCHANGED);
    Invalidate();
}

void TControl::SetHint(std::string value)
{
    hint_ = std::move(value);
    HintChanged();
}

void TControl::SetShowHint(bool value)
{
    showHint_ = value;
    HintChanged();
}

void TControl::SetAlign(TAlign value)
{
    if (value == align_)
        return;
    align_ = value;
    RequestAlign();
}

void TControl::RequestAlign()
{
    if (parent_ && align_ != alNone)
        parent_->AlignControls();
}

void TControl::SetPopupMenu(TPopupMenu* value)
{
    if (popupMenu_)
        RemoveFreeNotification(popupMenu_);
    popupMenu_ = value;
    if (value)
        FreeNotification(value);
}

void TControl::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupMenu_)
        popupMenu_ = nullptr;
}

void TControl::Loaded()
{
    TComponent::Loaded();
    if (parentFont_)
        ParentFontChanged();
    if (parentColor_)
        ParentColorChanged();
}

void TControl::Invalidate()
{
    if (parent_ && parent_->HandleAllocated()) {
        RECT r = BoundsRect();
        InvalidateRect(parent_->Handle(), &r, TRUE);
    }
}

void TControl::Update()
{
    if (parent_ && parent_->HandleAllocated())
        UpdateWindow(parent_->Handle());
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::SetWindowProc(TWndMethod method)
{
    if (method)
        windowProc_ = std::move(method);
    else
        windowProc_ = [this](TMessage& m) { WndProc(m); };
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m{msg, wParam, lParam, 0};
    // A copy: the method may be replaced while it runs.
    TWndMethod method = windowProc_;
    method(m);
    return m.Result;
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TControl::HandleMouseMessage(TMessage& m)
{
    const int x = static_cast<short>(LOWORD(m.LParam));
    const int y = static_cast<short>(HIWORD(m.LParam));
    const TShiftState shift = ShiftStateFromKeys(m.WParam);
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed_ = true;
        MouseDown(mbLeft, shift | (m.Msg == WM_LBUTTONDBLCLK ? 1u << ssDouble : 0u), x, y);
        if (m.Msg == WM_LBUTTONDBLCLK && OnDblClick)
            OnDblClick(this);
        break;
    case WM_RBUTTONDOWN:
        MouseDown(mbRight, shift, x, y);
        break;
    case WM_MBUTTONDOWN:
        MouseDown(mbMiddle, shift, x, y);
        break;
    case WM_LBUTTONUP: {
        const bool wasPressed = pressed_;
        pressed_ = false;
        MouseUp(mbLeft, shift, x, y);
        if (wasPressed && clicksOnMouseUp_ && x >= 0 && y >= 0 && x < width_ && y < height_)
            Click();
        break;
    }
    case WM_RBUTTONUP:
        MouseUp(mbRight, shift, x, y);
        break;
    case WM_MBUTTONUP:
        MouseUp(mbMiddle, shift, x, y);
        break;
    case WM_MOUSEMOVE:
        MouseMove(shift, x, y);
        break;
    default:
        break;
    }
}

void TControl::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CM_MOUSEENTER:
        mouseInControl_ = true;
        if (OnMouseEnter)
            OnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        mouseInControl_ = false;
        pressed_ = false;
        if (OnMouseLeave)
            OnMouseLeave(this);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
        HandleMouseMessage(m);
        break;
    default:
        break;
    }
    DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage&)
{
}
