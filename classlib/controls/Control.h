#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "classlib/Component.h"
#include "classlib/controls/Messages.h"
#include "classlib/graphics/Color.h"

class TFont;
class TCanvas;
class TWinControl;
class TPopupMenu;
class TCustomForm;
LRESULT CALLBACK ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

using TNotifyEvent = std::function<void(TComponent* sender)>;
// A control's window method: every message of the control passes through it.
using TWndMethod = std::function<void(TMessage& message)>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = unsigned; // bit n = TShiftStateItem n
TShiftState ShiftStateFromKeys(WPARAM keyFlags);   // MK_ flags of a mouse message
TShiftState KeyboardShiftState();                  // keys held right now

using TMouseEvent = std::function<void(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TComponent* sender, WORD& key, TShiftState shift)>;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
// Forms take all of them; other controls only bsNone and bsSingle.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

// A visual element with bounds in its parent's client coordinates. Every message meant for
// the control goes through its WindowProc, which a caller can replace by a method of its
// own that forwards to the one it replaced (and put the old one back later).
class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
    void SetTop(int value) { SetBounds(left_, value, width_, height_); }
    void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
    void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    virtual RECT ClientRect() const;
    int ClientWidth() const;
    int ClientHeight() const;
    virtual void SetClientWidth(int value);
    virtual void SetClientHeight(int value);
    // Screen position of the client area's top-left corner.
    virtual POINT ClientOrigin() const;
    POINT ClientToScreen(POINT p) const;
    POINT ScreenToClient(POINT p) const;

    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible itself and all its parents are.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool value);

    // Caption and Text are one value (UTF-8).
    std::string Caption() const { return GetText(); }
    void SetCaption(std::string value) { SetText(value); }
    std::string Text() const { return GetText(); }
    void SetTextProp(std::string value) { SetText(value); }

    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* value);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);

    std::string Hint() const { return hint_; }
    void SetHint(std::string value);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign value);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* value);

    // Paint requests; a windowless control is repainted through its parent.
    virtual void Invalidate();
    void Update();
    void Repaint();

    // The replaceable window method and sending a message through it.
    TWndMethod WindowProc() const { return windowProc_; }
    void SetWindowProc(TWndMethod method);
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    void Dispatch(TMessage& message) { WndProc(message); }

    // What a click of the user does: runs OnClick. Wrappers that take over the mouse call it.
    virtual void Click();
    // The control's own mouse handling (events first); wrappers forward to these.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    bool MouseInControl() const { return mouseInControl_; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    // The control's own message handling, the initial WindowProc.
    virtual void WndProc(TMessage& message);
    // What happens to a message nobody handled: for windows the system's procedure.
    virtual void DefaultHandler(TMessage& message);
    virtual std::string GetText() const { return text_; }
    virtual void SetText(const std::string& value);
    // Hooks for subclasses after a property change (the matching CM_ notification was sent).
    virtual void BoundsChanged() {}
    // Visible changed (before CM_VISIBLECHANGED goes out): windows show or hide here.
    virtual void VisibleChanged() {}
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void HintChanged() {}
    void RequestAlign();
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;

    std::string text_;
    // Windowless and self-drawn controls click on a left button released inside them.
    bool clicksOnMouseUp_ = false;

private:
    friend class TWinControl;
    friend class TCustomForm;
    friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
    void ParentFontChanged();
    void ParentColorChanged();
    void HandleMouseMessage(TMessage& message);

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    std::string hint_;
    bool showHint_ = false;
    TAlign align_ = alNone;
    TPopupMenu* popupMenu_ = nullptr;
    TWndMethod windowProc_;
    bool mouseInControl_ = false;
    bool pressed_ = false;
    bool applyingParentFont_ = false;
};

// A control found from its window: the window property named by the class library's
// "ControlOfs" atom, set on every window a control creates.
TControl* ControlFromHandle(HWND window);
// The same, walking up the parent windows (child windows only) until one belongs to a control.
TControl* FindControl(HWND window);
// The atom naming that property ("ControlOfs" + module instance + thread id, both %.8X).
ATOM ControlAtom();
std::string ControlAtomName();
// The form a control sits on (itself when it is one), or nullptr.
TCustomForm* GetParentForm(TControl* control);
