#pragma once
// TSkinControl: the base of every wrapper. A wrapper attaches to one child control of a skinned
// window, lets the control do its own work and paints the skin over it (or instead of it).
#include <cstdint>
#include <memory>
#include <string>

#include <windows.h>

#include "classlib/Component.h"
#include "classlib/controls/Control.h"
#include "classlib/graphics/Color.h"
#include "skin/ObjectWndProc.h"

class TCanvas;
class TSkinData;
class TSkinForm;
class TDataSkinObject;
class TImageList;

// MouseState bits.
enum : unsigned { msHot = 1, msPressed = 2 };
// State values.
enum : int { wsCreated = 0, wsAttached = 1, wsRestored = 2, wsDetaching = 4, wsDestroyed = 6 };

class TSkinControl : public TComponent {
public:
    explicit TSkinControl(TComponent* owner);
    ~TSkinControl() override;

    virtual void AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas);
    virtual void AttachWindow(HWND handle, TSkinData* skin, TSkinForm* form, TCanvas* canvas);
    virtual void Restore();
    // False: the message is fully handled.
    virtual bool BeforeMessage(TMessage& msg);
    virtual void AfterMessage(TMessage& msg);
    virtual void PaintNow(HDC dc);
    virtual void Draw(HDC dc, const RECT& rect);
    virtual void Refresh();
    virtual int CanSkin() { return 1; }

    void Invalidate();

    // ---- Routines shared by the wrappers ----
    void FillFace(HDC dc, const RECT& rect) const;
    // The parent control's colour (the face colour without a parent).
    void FillParentColor(HDC dc, const RECT& rect) const;
    // WM_PAINT of wrappers that paint instead of the control.
    void PaintOnWmPaint(TMessage& msg);
    // WM_ERASEBKGND: the parent's picture under the control; result 1.
    void EraseWithParent(TMessage& msg);
    // A focus rectangle around Caption as `flags` would place it inside rect.
    void DrawFocusAround(HDC dc, UINT flags, const RECT& rect);
    // Image imageIndex of the element's strip nine-sliced into rect (key colour transparent
    // when the element says so).
    static void DrawSkinElement(HDC dc, const RECT& rect, int imageCount, int imageIndex, TDataSkinObject& element);
    // Image and text of a header or tab item: alignment 0 left, 1 centre, 2 right.
    void DrawTextAndImage(TCanvas& canvas, const RECT& rect, int alignment, const std::wstring& text, int imageIndex,
                          TImageList* images);
    // Tells the wrapper's window that the mouse left (the class library's notification).
    static void MouseLeft(TSkinControl* wrapper);
    static void TrackLeave(HWND handle);
    // The control's own mouse-down handling for a left button message.
    void ForwardMouseDown(const TMessage& msg);

    // ---- The wrapped control's properties by name ----
    std::int64_t PropOrdinal(const std::string& name) const;  // -1 when missing
    std::string PropName(const std::string& name) const;      // enumerations, booleans; "" when missing
    bool PropTrue(const std::string& name) const;             // reads "true"
    std::wstring PropWide(const std::string& name) const;
    TPersistent* PropObject(const std::string& name) const;
    template <class T>
    T* PropObjectAs(const std::string& name) const
    {
        return dynamic_cast<T*>(PropObject(name));
    }
    // False when the property is missing or refuses the text.
    bool SetProp(const std::string& name, const std::string& text) const;
    bool HasProp(const std::string& name) const;

    unsigned MouseState = 0;
    TCanvas* Canvas = nullptr;
    bool Handled = false;
    bool Enabled = true;
    bool Focused = false;
    std::wstring Caption;
    std::unique_ptr<TObjectWndProc> NewWndProc;
    WNDPROC OldWndProc = nullptr;
    bool SkinEnabled = true;
    bool UnicodeWindow = false;
    TSkinData* SkinData = nullptr;
    HWND Handle = nullptr;
    TWndMethod OldWindowMethod;
    TControl* Control = nullptr;
    RECT WindowRect{};
    TControl* PaintTarget = nullptr;
    bool ColorControl = false;
    TColor SavedColor = clNone;
    bool Attached = false;
    int State = wsCreated;
    TSkinForm* Form = nullptr;
    bool OwnMouse = false;
    bool HadParentBackground = false;

protected:
    void Dispatch(TMessage& msg);
    LRESULT CallControlProc(TMessage& msg);
    // Hooks the control's window method (windowed or not) and lists the wrapper.
    void HookControl(TSkinForm* form, TSkinData* skin, TCanvas* canvas);
    // ParentBackground off and the face colour on, remembering both.
    void ColourControl();
    // The control's "Font" with its colour, or the window's font in the skin's button text
    // colour (foreign windows); returns the font selected before.
    HGDIOBJ SelectControlFont(HDC dc) const;
    // The window's text (foreign windows) or the "Caption" property.
    std::wstring ControlText() const;
    bool ControlGone() const;
    static LRESULT WindowProcThunk(void* self, UINT msg, WPARAM wParam, LPARAM lParam);
};

// The face colour of the skin as a plain colour.
TColor SkinFaceColour(const TSkinData* skin);
