#pragma once
// TSkinControl: the base of every wrapper. A wrapper attaches to one child control of a skinned
// window, lets the control do its own work and paints the skin over it (or instead of it).
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
enum : int { wsCreated = 0, wsAttached = 1, wsDestroyed = 6 };

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
    static LRESULT WindowProcThunk(void* self, UINT msg, WPARAM wParam, LPARAM lParam);
};
