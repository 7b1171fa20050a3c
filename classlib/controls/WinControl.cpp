#include "classlib/controls/WinControl.h"

#include <commctrl.h>

#include <algorithm>
#include <set>

#include "classlib/Unicode.h"
#include "classlib/forms/Application.h"
#include "classlib/forms/Form.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/Font.h"
#include "classlib/menus/Menu.h"
#include "classlib/menus/PopupMenu.h"

namespace {

// The control whose own-class window is being created; its first messages arrive before
// CreateWindowExW returns.
thread_local TWinControl* creatingControl = nullptr;

LPCWSTR PropName()
{
    return reinterpret_cast<LPCWSTR>(MAKEINTATOM(ControlAtom()));
}

void EnsureCommonControls()
{
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}

bool IsOwnMessage(UINT msg)
{
    return msg >= CM_BASE && msg < CN_BASE + 0x1000;
}

} // namespace

LRESULT CALLBACK ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* control = static_cast<TWinControl*>(ControlFromHandle(window));
    if (!control) {
        control = creatingControl;
        if (!control)
            return DefWindowProcW(window, msg, wParam, lParam);
        creatingControl = nullptr;
        control->handle_ = window;
        control->defWndProc_ = DefWindowProcW;
        SetPropW(window, PropName(), static_cast<TControl*>(control));
    }
    TMessage m{msg, wParam, lParam, 0};
    try {
        TWndMethod method = control->windowProc_;
        method(m);
    } catch (const std::exception& e) {
        HandleControlException(e);
    } catch (...) {
        HandleControlException(std::runtime_error("Unknown error"));
    }
    if (msg == WM_NCDESTROY) {
        RemovePropW(window, PropName());
        if (control->defWndProc_ != DefWindowProcW)
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control->defWndProc_));
        control->handle_ = nullptr;
        control->tooltip_ = nullptr;
    }
    return m.Result;
}

void HandleControlException(const std::exception& e)
{
    if (Application)
        Application->HandleException(e);
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner)
{
}

TWinControl::~TWinControl()
{
    Perform(CM_DESTROYING);
    while (!controls_.empty())
        delete controls_.back(); // removes itself
    DestroyHandle();
    if (brush_)
        DeleteObject(brush_);
    if (fontHandle_)
        DeleteObject(fontHandle_);
}

HWND TWinControl::Handle()
{
    if (!handle_)
        CreateWnd();
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& p)
{
    p.caption = Utf8ToWide(text_);
    p.style = WS_CHILD | WS_CLIPSIBLINGS;
    if (Visible())
        p.style |= WS_VISIBLE;
    if (!Enabled())
        p.style |= WS_DISABLED;
    if (tabStop_)
        p.style |= WS_TABSTOP;
    p.x = Left();
    p.y = Top();
    p.width = Width();
    p.height = Height();
    p.windowClass = L"KestripControl";
}

void TWinControl::CreateWnd()
{
    if (handle_ || creating_)
        return;
    TCreateParams p;
    CreateParams(p);
    if (Parent()) {
        p.parent = Parent()->Handle();
        if (handle_) // the parent's creation made ours too
            return;
    } else if ((p.style & WS_CHILD) && !p.parent) {
        // A control without a parent control may still name a parent window of its own.
        throw EComponentError("Control '" + Name() + "' has no parent window");
    }
    creating_ = true;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND window = nullptr;
    if (!p.systemClass.empty()) {
        EnsureCommonControls();
        window = CreateWindowExW(p.exStyle, p.systemClass.c_str(), p.caption.c_str(), p.style, p.x, p.y,
                                 p.width, p.height, p.parent, p.menu, instance, nullptr);
        if (window) {
            handle_ = window;
            SetPropW(window, PropName(), static_cast<TControl*>(this));
            defWndProc_ = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlWindowProc)));
        }
    } else {
        WNDCLASSEXW wc{sizeof wc};
        if (!GetClassInfoExW(instance, p.windowClass.c_str(), &wc)) {
            wc = WNDCLASSEXW{sizeof wc};
            wc.style = p.classStyle;
            wc.lpfnWndProc = ControlWindowProc;
            wc.hInstance = instance;
            wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            wc.lpszClassName = p.windowClass.c_str();
            RegisterClassExW(&wc);
        }
        creatingControl = this;
        window = CreateWindowExW(p.exStyle, p.windowClass.c_str(), p.caption.c_str(), p.style, p.x, p.y,
                                 p.width, p.height, p.parent, p.menu, instance, nullptr);
        creatingControl = nullptr;
    }
    creating_ = false;
    if (!window) {
        const DWORD error = GetLastError();
        handle_ = nullptr;
        throw EComponentError("Error creating window for '" + Name() + "' (system error " + std::to_string(error) + ")");
    }
    InitializeWnd();
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c))
            w->CreateWnd();
    AlignControls();
}

void TWinControl::InitializeWnd()
{
    // The tooltip window is made when the mouse first comes by (or when asked for): a
    // top-level window costs start-up time that most controls never need.
    PushFont();
}

void TWinControl::DestroyWnd()
{
    if (handle_) {
        HWND window = handle_;
        DestroyWindow(window);
    }
    handle_ = nullptr;
}

void TWinControl::DestroyHandle()
{
    if (!handle_)
        return;
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c))
            w->DestroyHandle();
    SaveWndState();
    if (tooltip_) {
        DestroyWindow(tooltip_);
        tooltip_ = nullptr;
    }
    destroyingHandle_ = true;
    DestroyWnd();
    destroyingHandle_ = false;
}

void TWinControl::RecreateWnd()
{
    if (!handle_)
        return;
    const bool hadFocus = Focused();
    DestroyHandle();
    CreateWnd();
    if (hadFocus && CanFocus())
        SetFocus();
    // Every window below was made again; those who keep a handle learn the new one.
    std::vector<TWinControl*> all{this};
    GetTabOrderList(all);
    for (TWinControl* w : all)
        w->Perform(CM_RECREATEWND);
}

namespace {

// A font of the window's own: the TFont's cached handle is freed after its change callbacks
// have run, so the window cannot keep that one.
HFONT CreateFontFor(const TFont& font)
{
    LOGFONTW lf{};
    lf.lfHeight = font.Height();
    lf.lfWeight = font.Style().Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.Style().Contains(fsItalic);
    lf.lfUnderline = font.Style().Contains(fsUnderline);
    lf.lfStrikeOut = font.Style().Contains(fsStrikeOut);
    lf.lfCharSet = font.Charset();
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = font.Pitch() == fpFixed ? FIXED_PITCH : font.Pitch() == fpVariable ? VARIABLE_PITCH
                                                                                             : DEFAULT_PITCH;
    const std::wstring face = Utf8ToWide(font.Name());
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectW(&lf);
}

} // namespace

void TWinControl::PushFont()
{
    if (!handle_)
        return;
    HFONT font = CreateFontFor(*Font());
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (fontHandle_)
        DeleteObject(fontHandle_);
    fontHandle_ = font;
}

void TWinControl::FontChanged()
{
    PushFont();
    TControl::FontChanged();
    for (TControl* c : controls_)
        if (c->ParentFont()) {
            c->ParentFontChanged();
            c->Perform(CM_PARENTFONTCHANGED);
        }
}

void TWinControl::ColorChanged()
{
    TControl::ColorChanged();
    for (TControl* c : controls_)
        if (c->ParentColor()) {
            c->ParentColorChanged();
            c->Perform(CM_PARENTCOLORCHANGED);
        }
}

HBRUSH TWinControl::BackgroundBrush()
{
    if (!brush_ || brushColor_ != Color()) {
        if (brush_)
            DeleteObject(brush_);
        brush_ = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color())));
        brushColor_ = Color();
    }
    return brush_;
}

void TWinControl::InsertControl(TControl* control)
{
    controls_.push_back(control);
    control->parent_ = this;
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        w->tabOrder_ = static_cast<int>(tabList_.size());
        tabList_.push_back(w);
        if (w->handle_ && handle_)
            ::SetParent(w->handle_, handle_);
        else if (w->handle_)
            w->DestroyHandle();
        else if (handle_)
            w->CreateWnd();
    }
    if (control->ParentFont())
        control->ParentFontChanged();
    if (control->ParentColor())
        control->ParentColorChanged();
    control->Invalidate();
    if (control->Align() != alNone)
        AlignControls();
}

void TWinControl::RemoveControl(TControl* control)
{
    if (control == graphicUnderMouse_)
        graphicUnderMouse_ = nullptr;
    if (control == graphicCapture_) {
        graphicCapture_ = nullptr;
        if (handle_ && GetCapture() == handle_)
            ReleaseCapture();
    }
    control->Invalidate();
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
        if (w->handle_)
            w->DestroyHandle();
    }
    if (TCustomForm* form = GetParentForm(this))
        form->ControlRemoved(control);
    control->parent_ = nullptr;
    if (control->Align() != alNone)
        AlignControls();
}

bool TWinControl::ContainsControl(const TControl* control) const
{
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this)
            return true;
    return false;
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const
{
    auto hit = [&](TControl* c) {
        return c->Visible() && (allowDisabled || c->Enabled()) && p.x >= c->Left() && p.y >= c->Top() &&
               p.x < c->Left() + c->Width() && p.y < c->Top() + c->Height();
    };
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        if (!dynamic_cast<TWinControl*>(*it) && hit(*it))
            return *it;
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        if (dynamic_cast<TWinControl*>(*it) && hit(*it))
            return *it;
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message)
{
    const std::vector<TControl*> list = controls_;
    for (TControl* c : list) {
        TWndMethod method = c->windowProc_;
        method(message);
        if (message.Result != 0)
            return;
        if (auto* w = dynamic_cast<TWinControl*>(c)) {
            w->Broadcast(message);
            if (message.Result != 0)
                return;
        }
    }
}

int TWinControl::TabOrder() const
{
    if (!Parent())
        return -1;
    const auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value)
{
    tabOrder_ = value;
    TWinControl* parent = Parent();
    if (!parent)
        return;
    auto& list = parent->tabList_;
    if (Loading() || (Owner() && Owner()->Loading())) {
        // Stored descriptions give every control its number; sort once they all have one.
        std::stable_sort(list.begin(), list.end(),
                         [](const TWinControl* a, const TWinControl* b) { return a->tabOrder_ < b->tabOrder_; });
        return;
    }
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    const int index = std::clamp(value, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + index, this);
    for (std::size_t i = 0; i < list.size(); ++i)
        list[i]->tabOrder_ = static_cast<int>(i);
}

void TWinControl::SetTabStop(bool value)
{
    tabStop_ = value;
    if (handle_) {
        LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
        style = value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
        SetWindowLongPtrW(handle_, GWL_STYLE, style);
    }
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const
{
    for (TWinControl* w : tabList_) {
        list.push_back(w);
        w->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    const int count = static_cast<int>(list.size());
    auto it = std::find(list.begin(), list.end(), current);
    int start = it == list.end() ? (forward ? count - 1 : 0) : static_cast<int>(it - list.begin());
    for (int step = 1; step <= count; ++step) {
        int i = forward ? (start + step) % count : (start - step + count) % count;
        TWinControl* c = list[i];
        if (c != current && c->CanFocus() && (!checkTabStop || c->TabStop()))
            return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop)
{
    if (TWinControl* next = FindNextControl(current, forward, checkTabStop))
        next->SetFocus();
}

bool TWinControl::Focused() const
{
    return handle_ && GetFocus() == handle_;
}

bool TWinControl::CanFocus() const
{
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

void TWinControl::SetFocus()
{
    if (TCustomForm* form = GetParentForm(this); form && form != this && !form->HandleAllocated()) {
        form->SetActiveControl(this);
        return;
    }
    ::SetFocus(Handle());
}

void TWinControl::SetDoubleBuffered(bool value)
{
    doubleBuffered_ = value;
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    const bool resized = width != Width() || height != Height();
    if (left == Left() && top == Top() && !resized)
        return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (handle_ && !settingBounds_) {
        settingBounds_ = true;
        SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        settingBounds_ = false;
    }
    BoundsChanged();
    RequestAlign();
    if (resized)
        AlignControls();
}

void TWinControl::UpdateBoundsFromWindow()
{
    RECT r;
    if (!handle_ || !GetWindowRect(handle_, &r))
        return;
    if (HWND parent = GetParent(handle_); parent && (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    const bool resized = r.right - r.left != Width() || r.bottom - r.top != Height();
    if (r.left == Left() && r.top == Top() && !resized)
        return;
    left_ = r.left;
    top_ = r.top;
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
    BoundsChanged();
    RequestAlign();
    if (resized)
        AlignControls();
}

RECT TWinControl::ClientRect() const
{
    RECT r{0, 0, Width(), Height()};
    if (handle_)
        GetClientRect(handle_, &r);
    return r;
}

POINT TWinControl::ClientOrigin() const
{
    if (handle_) {
        POINT p{0, 0};
        ::ClientToScreen(handle_, &p);
        return p;
    }
    return TControl::ClientOrigin();
}

void TWinControl::Invalidate()
{
    if (handle_)
        InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::SetEnabled(bool value)
{
    if (value == Enabled())
        return;
    enabled_ = value;
    if (handle_)
        EnableWindow(handle_, value);
    Invalidate();
    Perform(CM_ENABLEDCHANGED);
}

std::string TWinControl::GetText() const
{
    if (!handle_)
        return text_;
    const int length = GetWindowTextLengthW(handle_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(handle_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return WideToUtf8(text);
}

void TWinControl::SetText(const std::string& value)
{
    if (value == GetText())
        return;
    text_ = value;
    if (handle_)
        SetWindowTextW(handle_, Utf8ToWide(value).c_str());
    Perform(CM_TEXTCHANGED);
}

void TWinControl::AlignControls()
{
    if (creating_)
        return;
    RECT r = ClientRect();
    for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* c : controls_) {
            if (c->Align() != kind || !c->Visible())
                continue;
            const int w = r.right - r.left, h = r.bottom - r.top;
            switch (kind) {
            case alTop:
                c->SetBounds(r.left, r.top, w, c->Height());
                r.top += c->Height();
                break;
            case alBottom:
                c->SetBounds(r.left, r.bottom - c->Height(), w, c->Height());
                r.bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(r.left, r.top, c->Width(), h);
                r.left += c->Width();
                break;
            case alRight:
                c->SetBounds(r.right - c->Width(), r.top, c->Width(), h);
                r.right -= c->Width();
                break;
            default:
                c->SetBounds(r.left, r.top, std::max(w, 0), std::max(h, 0));
                break;
            }
        }
    }
}

void TWinControl::VisibleChanged()
{
    if (handle_)
        ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::HintChanged()
{
    if (tooltip_)
        UpdateTooltip();
}

void TWinControl::UpdateTooltip()
{
    if (!handle_)
        return;
    const bool want = ShowHint() && !Hint().empty();
    if (!want) {
        if (tooltip_) {
            DestroyWindow(tooltip_);
            tooltip_ = nullptr;
        }
        return;
    }
    std::wstring text = Utf8ToWide(Hint());
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = GetParent(handle_) ? GetParent(handle_) : handle_;
    ti.uId = reinterpret_cast<UINT_PTR>(handle_);
    ti.lpszText = text.data();
    if (!tooltip_) {
        EnsureCommonControls();
        tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle_, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    } else {
        SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

HWND TWinControl::TooltipHandle() const
{
    if (!tooltip_ && handle_)
        const_cast<TWinControl*>(this)->UpdateTooltip();
    return tooltip_;
}

bool TWinControl::WantsKey(WORD key) const
{
    if (!handle_)
        return false;
    MSG msg{handle_, WM_KEYDOWN, key, 0};
    const LRESULT code = SendMessageW(handle_, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg));
    if (code & DLGC_WANTALLKEYS)
        return true;
    switch (key) {
    case VK_TAB:
        return (code & DLGC_WANTTAB) != 0;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        return (code & DLGC_WANTARROWS) != 0;
    default:
        return false;
    }
}

void TWinControl::ReflectToChild(TMessage& m, HWND child)
{
    TControl* c = ControlFromHandle(child);
    if (c && c != this) {
        m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        return;
    }
    DefaultHandler(m);
}

void TWinControl::TrackGraphicMouse(TMessage& m)
{
    POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    TControl* target = graphicCapture_;
    if (!target) {
        TControl* hit = ControlAtPos(p, true);
        if (hit && !dynamic_cast<TWinControl*>(hit))
            target = hit;
    }
    if (m.Msg == WM_MOUSEMOVE && target != graphicUnderMouse_ && !graphicCapture_) {
        if (graphicUnderMouse_)
            graphicUnderMouse_->Perform(CM_MOUSELEAVE);
        graphicUnderMouse_ = target;
        if (target)
            target->Perform(CM_MOUSEENTER);
    }
    if (!target || !target->Enabled()) {
        TControl::WndProc(m); // the control's own mouse events
        return;
    }
    const LPARAM local = MAKELPARAM(p.x - target->Left(), p.y - target->Top());
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        graphicCapture_ = target;
        SetCapture(handle_);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        graphicCapture_ = nullptr;
        if (GetCapture() == handle_)
            ReleaseCapture();
        break;
    default:
        break;
    }
    m.Result = target->Perform(m.Msg, m.WParam, local);
    if (graphicCapture_ == nullptr && m.Msg != WM_MOUSEMOVE) {
        // After the release the control under the mouse may have changed.
        TControl* hit = ControlAtPos(p, true);
        if (hit != graphicUnderMouse_ && graphicUnderMouse_) {
            graphicUnderMouse_->Perform(CM_MOUSELEAVE);
            graphicUnderMouse_ = nullptr;
        }
    }
}

void TWinControl::PaintWindow(HDC dc)
{
    if (defWndProc_ && defWndProc_ != DefWindowProcW) {
        TMessage pm{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
        DefaultHandler(pm);
    }
}

void TWinControl::PaintControls(HDC dc)
{
    for (TControl* c : controls_) {
        if (dynamic_cast<TWinControl*>(c) || !c->Visible() || c->Width() <= 0 || c->Height() <= 0)
            continue;
        RECT r = c->BoundsRect();
        if (!RectVisible(dc, &r))
            continue;
        const int saved = SaveDC(dc);
        POINT origin;
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x + c->Left(), origin.y + c->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

void TWinControl::PaintHandler(TMessage& m)
{
    const bool systemPaint = defWndProc_ != DefWindowProcW;
    const bool hasGraphics = std::any_of(controls_.begin(), controls_.end(),
                                         [](TControl* c) { return !dynamic_cast<TWinControl*>(c); });
    if (m.WParam == 0 && systemPaint && !doubleBuffered_ && !hasGraphics) {
        DefaultHandler(m);
        return;
    }
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (dc) {
        PaintWindow(dc);
        PaintControls(dc);
        return;
    }
    PAINTSTRUCT ps;
    dc = BeginPaint(handle_, &ps);
    if (doubleBuffered_) {
        RECT client;
        GetClientRect(handle_, &client);
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1));
        HGDIOBJ old = SelectObject(memory, bitmap);
        // Through the window method, so a hook sees the buffered paint as well.
        Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory));
        Perform(WM_PAINT, reinterpret_cast<WPARAM>(memory));
        BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
    } else {
        PaintWindow(dc);
        PaintControls(dc);
    }
    EndPaint(handle_, &ps);
}

void TWinControl::PaintTo(HDC dc, int x, int y)
{
    const int saved = SaveDC(dc);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + x, origin.y + y, nullptr);
    IntersectClipRect(dc, 0, 0, Width(), Height());
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible())
            w->PaintTo(dc, w->Left(), w->Top());
    RestoreDC(dc, saved);
}

void TWinControl::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_COMMAND:
        if (m.LParam) {
            ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
            return;
        }
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(m.LParam);
        if (header && ControlFromHandle(header->hwndFrom)) {
            ReflectToChild(m, header->hwndFrom);
            return;
        }
        break;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        if (item->CtlType == ODT_MENU) {
            if (DrawMenuItemMessage(*item)) {
                m.Result = TRUE;
                return;
            }
            break;
        }
        ReflectToChild(m, item->hwndItem);
        return;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        if (item->CtlType == ODT_MENU) {
            if (MeasureMenuItemMessage(*item)) {
                m.Result = TRUE;
                return;
            }
            break;
        }
        if (HWND child = GetDlgItem(handle_, static_cast<int>(item->CtlID))) {
            ReflectToChild(m, child);
            return;
        }
        break;
    }
    case WM_DELETEITEM:
        ReflectToChild(m, reinterpret_cast<DELETEITEMSTRUCT*>(m.LParam)->hwndItem);
        return;
    case WM_COMPAREITEM:
        ReflectToChild(m, reinterpret_cast<COMPAREITEMSTRUCT*>(m.LParam)->hwndItem);
        return;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        if (m.LParam && ControlFromHandle(reinterpret_cast<HWND>(m.LParam))) {
            ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
            return;
        }
        break;
    case CN_CTLCOLORBTN:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
        SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(Color())));
        m.Result = reinterpret_cast<LRESULT>(BackgroundBrush());
        return;
    }
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: {
        WORD key = static_cast<WORD>(m.WParam);
        if (OnKeyDown) {
            OnKeyDown(this, key, KeyboardShiftState());
            if (key == 0) {
                m.Result = 1;
                return;
            }
        }
        const bool navigation = key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_CANCEL ||
                                key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
        if (navigation && !WantsKey(key))
            if (TCustomForm* form = GetParentForm(this))
                if (form->Perform(CM_DIALOGKEY, key, m.LParam) != 0) {
                    m.Result = 1;
                    return;
                }
        m.Result = 0;
        return;
    }
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(this); form && form != this)
            form->ControlFocused(this);
        break;
    case WM_PAINT:
        PaintHandler(m);
        return;
    case WM_ERASEBKGND:
        if (defWndProc_ == DefWindowProcW || !handle_) {
            if (doubleBuffered_ && m.WParam && !(GetObjectType(reinterpret_cast<HDC>(m.WParam)) == OBJ_MEMDC)) {
                m.Result = 1; // the buffered paint erases
                return;
            }
            RECT r = ClientRect();
            FillRect(reinterpret_cast<HDC>(m.WParam), &r, BackgroundBrush());
            m.Result = 1;
            return;
        }
        break;
    case WM_MOUSEMOVE:
        if (!tooltip_ && ShowHint() && !Hint().empty()) {
            UpdateTooltip();
            // The first move starts the tooltip's hover time like the ones it will see itself.
            MSG relay{handle_, m.Msg, m.WParam, m.LParam, GetMessageTime(), {}};
            GetCursorPos(&relay.pt);
            if (tooltip_)
                SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
        }
        if (!MouseInControl()) {
            TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, handle_, 0};
            TrackMouseEvent(&tme);
            Perform(CM_MOUSEENTER);
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        if (graphicCapture_ || graphicUnderMouse_ ||
            std::any_of(controls_.begin(), controls_.end(), [](TControl* c) { return !dynamic_cast<TWinControl*>(c); })) {
            TrackGraphicMouse(m);
            return;
        }
        TControl::WndProc(m);
        return;
    case WM_MOUSELEAVE:
        if (graphicUnderMouse_) {
            graphicUnderMouse_->Perform(CM_MOUSELEAVE);
            graphicUnderMouse_ = nullptr;
        }
        Perform(CM_MOUSELEAVE);
        DefaultHandler(m);
        return;
    case WM_CONTEXTMENU: {
        POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
        TControl* target = this;
        if (m.LParam == -1) {
            p = ClientToScreen({Width() / 2, Height() / 2});
        } else if (TControl* hit = ControlAtPos(ScreenToClient(p), false); hit && !dynamic_cast<TWinControl*>(hit)) {
            target = hit;
        }
        if (target->PopupMenu()) {
            target->PopupMenu()->SetPopupComponent(target);
            target->PopupMenu()->Popup(p.x, p.y);
            return;
        }
        break;
    }
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(m);
        if (!settingBounds_)
            UpdateBoundsFromWindow();
        return;
    case WM_SIZE:
        DefaultHandler(m);
        AlignControls();
        return;
    default:
        break;
    }
    TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage& m)
{
    if (!handle_ || IsOwnMessage(m.Msg))
        return;
    m.Result = CallWindowProcW(defWndProc_ ? defWndProc_ : DefWindowProcW, handle_, m.Msg, m.WParam, m.LParam);
}

// ---- TGraphicControl --------------------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(std::make_unique<TCanvas>())
{
    clicksOnMouseUp_ = true;
}

TGraphicControl::~TGraphicControl()
{
    Perform(CM_DESTROYING);
}

void TGraphicControl::WndProc(TMessage& m)
{
    if (m.Msg == WM_PAINT) {
        if (m.WParam) {
            canvas_->SetHandle(reinterpret_cast<HDC>(m.WParam));
            canvas_->SetFont(*Font());
            canvas_->Brush()->SetColor(Color());
            try {
                Paint();
            } catch (...) {
                canvas_->SetHandle(nullptr);
                throw;
            }
            canvas_->SetHandle(nullptr);
        }
        m.Result = 0;
        return;
    }
    TControl::WndProc(m);
}

// ---- TCustomControl ---------------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(std::make_unique<TCanvas>())
{
    clicksOnMouseUp_ = true;
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC dc)
{
    canvas_->SetHandle(dc);
    canvas_->SetFont(*Font());
    canvas_->Brush()->SetColor(Color());
    try {
        Paint();
    } catch (...) {
        canvas_->SetHandle(nullptr);
        throw;
    }
    canvas_->SetHandle(nullptr);
}

void TCustomControl::DefaultHandler(TMessage& m)
{
    TWinControl::DefaultHandler(m);
}
