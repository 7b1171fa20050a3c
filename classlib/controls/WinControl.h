#pragma once
#include <exception>
#include <string>
#include <vector>

#include "classlib/controls/Control.h"

// How a windowed control asks for its window. A control of a system class (BUTTON,
// SysListView32 ...) names it in SystemClass and is subclassed after creation; the others
// get a window class of their own, named WindowClass.
struct TCreateParams {
    std::wstring caption;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    HWND parent = nullptr;
    std::wstring systemClass;  // empty: a class of our own
    std::wstring windowClass;  // our own class's name
    UINT classStyle = CS_DBLCLKS;
    HMENU menu = nullptr;
};

// Where an exception thrown by a message handler ends: the application shows it.
void HandleControlException(const std::exception& e);

// A control with a window of its own. The window is created on demand (Handle()), its
// messages reach WindowProc, and it keeps its child controls and tab order.
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // Creates the window (and its parents') when needed.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys the window and creates it again (style changes); tells WindowProc with
    // CM_RECREATEWND afterwards.
    void RecreateWnd();

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(index); }
    bool ContainsControl(const TControl* control) const;
    // The child control at a client point (windowless ones first, as they lie on top).
    TControl* ControlAtPos(POINT p, bool allowDisabled) const;
    // Sends the message to every child control's window method until one sets a result.
    void Broadcast(TMessage& message);

    int TabOrder() const;
    void SetTabOrder(int value);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    // Windowed descendants in tab order (depth first).
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // The next (or previous) control that can take the focus, wrapping around.
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

    bool Focused() const;
    virtual bool CanFocus() const;
    virtual void SetFocus();

    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool value);

    // Draws the windowless children onto dc (in this control's client coordinates).
    void PaintControls(HDC dc);
    // Paints the whole control (background and content) into dc, as WM_PRINT would.
    void PaintTo(HDC dc, int x, int y);

    void SetBounds(int left, int top, int width, int height) override;
    RECT ClientRect() const override;
    POINT ClientOrigin() const override;
    void Invalidate() override;
    void SetEnabled(bool value) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;

    // The brush a parent hands the system for this control's background (its Color).
    HBRUSH BackgroundBrush();
    // The tooltip window showing Hint (ShowHint set and a hint given), else nullptr.
    HWND TooltipHandle() const;

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    // After the window exists: pushes stored state (text, font, items) into it.
    virtual void InitializeWnd();
    // Before the window goes: pulls state the control must keep (items, checks).
    virtual void SaveWndState() {}
    virtual void DestroyWnd();
    void DestroyHandle();

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    std::string GetText() const override;
    void SetText(const std::string& value) override;
    void FontChanged() override;
    void ColorChanged() override;
    void HintChanged() override;
    void VisibleChanged() override;

    // Arranges aligned children inside the client area.
    void AlignControls();
    // WM_PAINT with wParam a DC (or 0 for BeginPaint): the system paints, then the
    // windowless children. Controls that draw themselves override PaintWindow.
    virtual void PaintWindow(HDC dc);
    void PaintHandler(TMessage& message);
    // Keys a control keeps for itself instead of the dialog navigation (DLGC_ codes).
    virtual bool WantsKey(WORD key) const;

private:
    friend class TControl;
    friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void UpdateShowing();
    void UpdateBoundsFromWindow();
    void ReflectToChild(TMessage& message, HWND child);
    void TrackGraphicMouse(TMessage& message);
    void PushFont();
    void UpdateTooltip();

    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = nullptr;
    std::vector<TControl*> controls_;   // every child, in insertion order
    std::vector<TWinControl*> tabList_; // windowed children in tab order
    bool tabStop_ = false;
    int tabOrder_ = 0;
    bool doubleBuffered_ = false;
    bool creating_ = false;
    bool destroyingHandle_ = false;
    bool settingBounds_ = false;
    HBRUSH brush_ = nullptr;
    HFONT fontHandle_ = nullptr; // the window's font, made from Font
    TColor brushColor_ = clNone;
    TControl* graphicUnderMouse_ = nullptr;
    TControl* graphicCapture_ = nullptr;
    HWND tooltip_ = nullptr;
};

// A control without a window, drawn by its parent on the parent's surface.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    // Valid during Paint.
    TCanvas* Canvas() const { return canvas_.get(); }

protected:
    void WndProc(TMessage& message) override;
    virtual void Paint() {}

private:
    std::unique_ptr<TCanvas> canvas_;
};

// A windowed control that draws itself on its canvas in Paint.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TCanvas* Canvas() const { return canvas_.get(); }

protected:
    void PaintWindow(HDC dc) override;
    void DefaultHandler(TMessage& message) override;
    virtual void Paint() {}

private:
    std::unique_ptr<TCanvas> canvas_;
};
