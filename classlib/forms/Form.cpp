#include "classlib/forms/Form.h"

#include <algorithm>

#include "classlib/TypeInfo.h"
#include "classlib/Unicode.h"
#include "classlib/forms/Application.h"
#include "classlib/forms/FormResource.h"
#include "classlib/forms/Screen.h"
#include "classlib/menus/Menu.h"

namespace {

// Posted to a form that asked to be deleted once its queued messages are handled.
constexpr UINT CM_RELEASE_FORM = CM_BASE + 0x40;

} // namespace

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner)
{
    visible_ = false;
    clicksOnMouseUp_ = true;
    SetParentFont(false);
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
    Screen().AddForm(this);
}

TCustomForm::~TCustomForm()
{
    Screen().RemoveForm(this);
    if (Application)
        Application->FormDestroyed(this);
    if (menu_)
        menu_->SetWindowForm(nullptr);
}

std::string TCustomForm::DescriptionResourceName() const
{
    const TClassInfo* info = Classes().ClassOf(this);
    std::string name = info ? info->name : "TFORM";
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return name;
}

void TCustomForm::InitializeForm()
{
    if (auto text = FindFormResource(DescriptionResourceName()))
        ReadDescription(*text);
    else if (!fallbackDescription_.empty())
        ReadDescription(fallbackDescription_);
    if (OnCreate)
        OnCreate(this);
}

void TCustomForm::Loaded()
{
    TWinControl::Loaded();
    ApplyClientSize();
}

void TCustomForm::StyleFromBorder(DWORD& style, DWORD& exStyle) const
{
    style = WS_CLIPCHILDREN;
    exStyle = 0;
    switch (borderStyle_) {
    case bsNone:
        style |= WS_POPUP;
        break;
    case bsSingle:
    case bsToolWindow:
        style |= WS_CAPTION | WS_BORDER;
        break;
    case bsSizeable:
    case bsSizeToolWin:
        style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        style |= WS_POPUP | WS_CAPTION;
        exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin)
        exStyle |= WS_EX_TOOLWINDOW;
    if (borderStyle_ != bsNone && (borderIcons_ & (1u << biSystemMenu))) {
        style |= WS_SYSMENU;
        if (borderStyle_ != bsDialog && borderStyle_ != bsToolWindow && borderStyle_ != bsSizeToolWin) {
            if (borderIcons_ & (1u << biMinimize))
                style |= WS_MINIMIZEBOX;
            if (borderIcons_ & (1u << biMaximize))
                style |= WS_MAXIMIZEBOX;
        }
        if (borderIcons_ & (1u << biHelp))
            exStyle |= WS_EX_CONTEXTHELP;
    }
}

void TCustomForm::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    StyleFromBorder(p.style, p.exStyle);
    if (!Enabled())
        p.style |= WS_DISABLED;
    p.windowClass = L"KestripForm";
    p.parent = nullptr;
    if (clientWidth_ >= 0 || clientHeight_ >= 0) {
        RECT r{0, 0, clientWidth_ >= 0 ? clientWidth_ : ClientWidth(), clientHeight_ >= 0 ? clientHeight_ : ClientHeight()};
        AdjustWindowRectEx(&r, p.style, menu_ != nullptr, p.exStyle);
        p.width = r.right - r.left;
        p.height = r.bottom - r.top;
    }
    if (!positioned_ && (position_ == poScreenCenter || position_ == poDesktopCenter || position_ == poMainFormCenter ||
                         position_ == poOwnerFormCenter)) {
        RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (position_ == poScreenCenter)
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        p.x = area.left + (area.right - area.left - p.width) / 2;
        p.y = area.top + (area.bottom - area.top - p.height) / 2;
    } else if (position_ == poDefault || position_ == poDefaultPosOnly) {
        p.x = CW_USEDEFAULT;
        p.y = 0;
    }
    positioned_ = true;
    // Stored bounds follow what the window will get.
    if (p.x != CW_USEDEFAULT) {
        left_ = p.x;
        top_ = p.y;
    }
    width_ = p.width;
    height_ = p.height;
}

void TCustomForm::InitializeWnd()
{
    if (menu_)
        ::SetMenu(Handle(), menu_->Handle());
    TWinControl::InitializeWnd();
    clientWidth_ = clientHeight_ = -1;
}

void TCustomForm::DestroyWnd()
{
    // The menu belongs to the TMainMenu, not to the window that shows it.
    if (HandleAllocated() && menu_)
        ::SetMenu(Handle(), nullptr);
    TWinControl::DestroyWnd();
}

void TCustomForm::ApplyClientSize()
{
    if (!HandleAllocated())
        return;
    if (clientWidth_ >= 0)
        SetClientWidth(clientWidth_);
    if (clientHeight_ >= 0)
        SetClientHeight(clientHeight_);
    clientWidth_ = clientHeight_ = -1;
}

RECT TCustomForm::ClientRect() const
{
    if (HandleAllocated())
        return TWinControl::ClientRect();
    DWORD style, exStyle;
    StyleFromBorder(style, exStyle);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style, menu_ != nullptr, exStyle);
    RECT r{0, 0, Width() - (frame.right - frame.left), Height() - (frame.bottom - frame.top)};
    if (clientWidth_ >= 0)
        r.right = clientWidth_;
    if (clientHeight_ >= 0)
        r.bottom = clientHeight_;
    return r;
}

void TCustomForm::SetClientWidth(int value)
{
    if (!HandleAllocated()) {
        clientWidth_ = value;
        return;
    }
    SetWidth(Width() - ClientWidth() + value);
}

void TCustomForm::SetClientHeight(int value)
{
    if (!HandleAllocated()) {
        clientHeight_ = value;
        return;
    }
    SetHeight(Height() - ClientHeight() + value);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value)
{
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value)
{
    if (value == borderIcons_)
        return;
    borderIcons_ = value;
    RecreateWnd();
}

void TCustomForm::SetMenu(TMainMenu* value)
{
    if (value == menu_)
        return;
    if (menu_) {
        menu_->SetWindowForm(nullptr);
        RemoveFreeNotification(menu_);
    }
    menu_ = value;
    if (menu_) {
        menu_->SetWindowForm(this);
        FreeNotification(menu_);
    }
    if (HandleAllocated()) {
        ::SetMenu(Handle(), menu_ ? menu_->Handle() : nullptr);
        Perform(CM_MENUCHANGED);
    }
}

void TCustomForm::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == menu_) {
        if (HandleAllocated())
            ::SetMenu(Handle(), nullptr);
        menu_ = nullptr;
    }
    if (component == activeControl_)
        activeControl_ = nullptr;
    if (component == focusedControl_)
        focusedControl_ = nullptr;
}

void TCustomForm::SetActiveControl(TWinControl* value)
{
    activeControl_ = value;
    if (value && HandleAllocated() && Visible() && value->HandleAllocated() && value->CanFocus())
        value->SetFocus();
}

void TCustomForm::ControlFocused(TWinControl* control)
{
    if (control == focusedControl_)
        return;
    TWinControl* old = focusedControl_;
    focusedControl_ = control;
    activeControl_ = control;
    if (old) {
        old->Perform(CM_EXIT);
        if (old->OnExit)
            old->OnExit(old);
    }
    if (control) {
        control->Perform(CM_ENTER);
        if (control->OnEnter)
            control->OnEnter(control);
    }
    TMessage m{CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control), 0};
    Broadcast(m);
}

void TCustomForm::ControlRemoved(TControl* control)
{
    auto* w = dynamic_cast<TWinControl*>(control);
    if (!w)
        return;
    if (activeControl_ && w->ContainsControl(activeControl_))
        activeControl_ = nullptr;
    if (focusedControl_ && w->ContainsControl(focusedControl_))
        focusedControl_ = nullptr;
}

void TCustomForm::FocusNext(bool forward)
{
    SelectNext(focusedControl_ ? focusedControl_ : activeControl_, forward, true);
}

void TCustomForm::FocusFirst()
{
    TWinControl* target = activeControl_;
    if (!target || !target->CanFocus())
        target = FindNextControl(nullptr, true, true);
    if (target && target->HandleAllocated())
        ::SetFocus(target->Handle());
    else
        ::SetFocus(Handle());
}

void TCustomForm::VisibleChanged()
{
    if (Visible()) {
        HWND window = Handle();
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        FocusFirst();
        if (OnShow)
            OnShow(this);
    } else if (HandleAllocated()) {
        ShowWindow(Handle(), SW_HIDE);
        if (OnHide)
            OnHide(this);
    }
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    if (!CloseQuery())
        return;
    if (modal_) {
        if (modalResult_ == mrNone)
            modalResult_ = mrCancel;
        return;
    }
    TCloseAction action = (Application && Application->MainForm() == this) ? caFree : caHide;
    if (OnClose)
        OnClose(this, action);
    switch (action) {
    case caNone:
        return;
    case caMinimize:
        if (HandleAllocated())
            ShowWindow(Handle(), SW_MINIMIZE);
        return;
    case caHide:
        Hide();
        break;
    case caFree:
        if (Application && Application->MainForm() == this) {
            Hide();
            Application->Terminate();
        } else {
            Release();
        }
        break;
    }
}

void TCustomForm::Release()
{
    if (HandleAllocated())
        PostMessageW(Handle(), CM_RELEASE_FORM, 0, 0);
    else
        delete this;
}

TModalResult TCustomForm::ShowModal()
{
    if (Visible() || modal_)
        throw EComponentError("Cannot make a visible window modal");
    // Every other enabled window of this thread is disabled for the time.
    std::vector<HWND> disabled;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            if (IsWindowVisible(window) && IsWindowEnabled(window)) {
                reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
                EnableWindow(window, FALSE);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&disabled));
    modal_ = true;
    modalResult_ = mrNone;
    try {
        Show();
        while (modalResult_ == mrNone && Application && !Application->Terminated())
            Application->HandleMessage();
        if (!Application)
            while (modalResult_ == mrNone) {
                MSG msg;
                if (GetMessageW(&msg, nullptr, 0, 0) <= 0)
                    break;
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
    } catch (...) {
        modal_ = false;
        for (HWND w : disabled)
            EnableWindow(w, TRUE);
        throw;
    }
    for (HWND w : disabled)
        EnableWindow(w, TRUE);
    modal_ = false;
    Hide();
    return modalResult_;
}

void TCustomForm::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case WM_COMMAND:
        if (m.LParam == 0 && HIWORD(m.WParam) == 0 && menu_ && menu_->DispatchCommand(LOWORD(m.WParam)))
            return;
        break;
    case CM_MENUCHANGED:
        if (HandleAllocated())
            DrawMenuBar(Handle());
        return;
    case CM_DIALOGKEY: {
        Broadcast(m);
        if (m.Result)
            return;
        if (m.WParam == VK_TAB && !(KeyboardShiftState() & (1u << ssCtrl))) {
            FocusNext(!(KeyboardShiftState() & (1u << ssShift)));
            m.Result = 1;
            return;
        }
        return;
    }
    case CM_DIALOGCHAR:
        Broadcast(m);
        return;
    case CM_RELEASE_FORM:
        delete this;
        return;
    case WM_ACTIVATE:
        TWinControl::WndProc(m);
        if (LOWORD(m.WParam) != WA_INACTIVE) {
            if (!HIWORD(m.WParam) && focusedControl_ && focusedControl_->HandleAllocated() && focusedControl_->CanFocus())
                ::SetFocus(focusedControl_->Handle());
            if (OnActivate)
                OnActivate(this);
        } else if (OnDeactivate) {
            OnDeactivate(this);
        }
        return;
    case WM_SETFOCUS:
        // The form itself got the focus: hand it on to the active control.
        DefaultHandler(m);
        if (focusedControl_ && focusedControl_->HandleAllocated() && focusedControl_->CanFocus())
            ::SetFocus(focusedControl_->Handle());
        return;
    default:
        break;
    }
    TWinControl::WndProc(m);
}

void TCustomForm::ReadDescription(const std::string& text)
{
    ReadFormDescription(*this, text);
}
