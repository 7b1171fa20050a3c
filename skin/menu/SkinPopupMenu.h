#pragma once
// TSkinPopupMenu: paints one open pop-up menu window's background and 3-pixel border from the
// skin's menu background; the items inside are drawn by the owner-draw painter.
#include <memory>

#include <windows.h>

#include "classlib/graphics/Bitmap.h"
#include "skin/ObjectWndProc.h"

class TSkinData;

class TSkinPopupMenu {
public:
    TSkinPopupMenu() = default;
    ~TSkinPopupMenu();
    TSkinPopupMenu(const TSkinPopupMenu&) = delete;
    TSkinPopupMenu& operator=(const TSkinPopupMenu&) = delete;

    void Attach(HWND window, TSkinData* skin, HMENU menuHandle);
    void Detach();
    bool Attached() const { return NewWndProc != nullptr; }
    // Where the window's client area starts inside it (item rectangles are client ones).
    POINT ClientOffset() const;

    HWND Window = nullptr;
    WNDPROC OldWndProc = nullptr;
    std::unique_ptr<TObjectWndProc> NewWndProc;
    TSkinData* SkinData = nullptr;
    HMENU MenuHandle = nullptr;
    TBitmap Background;

private:
    static LRESULT PopupWndProcThunk(void* self, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT PopupWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT PassOn(UINT msg, WPARAM wParam, LPARAM lParam);
    bool SkinUsable() const;
    // Renders the background at the window's size; false when the window has no size.
    bool RenderBackground();
    // WM_PRINT into dc over the rendered background; clipToItems leaves the gaps between
    // items to the background as well.
    void PaintBackground(HDC dc, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, bool clipToItems = false);
    void PaintBorder();
    // The whole window composed off-screen through the background path, then shown.
    void PaintWindow();
    // The menu the window shows, asked from the window itself when it can tell.
    void LearnMenu();
    HRGN ItemsRegion() const;
};
