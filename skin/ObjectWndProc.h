#pragma once
// A window procedure bound to one object: a few bytes of machine code that put the object's
// address where the window handle was and jump to a static handler. Each skinned window gets
// its own, so the handler needs no lookup table and no window property.
#include <windows.h>

class TObjectWndProc {
public:
    using Handler = LRESULT (*)(void* object, UINT msg, WPARAM wParam, LPARAM lParam);

    TObjectWndProc(void* object, Handler handler);
    ~TObjectWndProc();
    TObjectWndProc(const TObjectWndProc&) = delete;
    TObjectWndProc& operator=(const TObjectWndProc&) = delete;

    WNDPROC Proc() const { return reinterpret_cast<WNDPROC>(code_); }

private:
    unsigned char* code_ = nullptr;
};

// Installs `proc` as the window's procedure and returns the one it replaced (W form for
// Unicode windows, A form otherwise).
WNDPROC SwapWindowProc(HWND window, WNDPROC proc, bool unicode);
// Calls a saved procedure with the A or W form matching the window.
LRESULT CallSavedProc(WNDPROC proc, bool unicode, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
