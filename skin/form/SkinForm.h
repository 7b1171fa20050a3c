#pragma once
// TSkinForm: paints the whole non-client area of one top-level window from the skin (borders,
// title with caption text and buttons, the menu-bar strip), answers the non-client messages
// itself, shapes the window by the borders' transparent pixels and hands its child controls
// to wrappers. The skin manager makes one per skinned window.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "classlib/Component.h"
#include "classlib/controls/Control.h"
#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/Font.h"
#include "skin/ObjectWndProc.h"
#include "skin/form/NCObject.h"

class TSkinData;
class TSkinControl;
class TSkinMenuBar;
class TTimer;
class TPopupMenu;
class TWinControl;
class TDataSkinBorder;
class TMenuBtn;
class TMenuItem;

enum TFrameKind : BYTE { fkSizeable = 0, fkSingle = 1, fkNone = 2, fkDialog = 3 };
enum TMdiKind : BYTE { mkNone = 0, mkFrame = 1, mkChild = 2 };
enum TFrameWindowState : BYTE { fwNormal = 0, fwMaximized = 1, fwMinimized = 2 };
// Bits of CaptionButtons.
enum : unsigned { cbMaximize = 1, cbMinimize = 2, cbSystemMenu = 8, cbCaptionStripped = 16 };
// SkinState values.
enum : int { ssAttached = 0, ssActive = 1, ssReskinning = 3, ssDestroying = 4, ssResizing = 5, ssReleased = 6 };

constexpr int kSkinnedSystemMenuTag = 33333;

class TSkinForm : public TComponent {
public:
    explicit TSkinForm(TComponent* owner);
    ~TSkinForm() override;

    // ---- Attaching ----
    void AttachForm(TSkinData* skin, TControl* form);
    void AttachWindow(TSkinData* skin);
    void Activate();
    void Release();
    void Detach();
    void Unhook();
    void Reskin();

    // ---- Frame ----
    void FitToSkin(bool keepClient);
    void ComputeFrameMetrics();
    void PrepareIcon();
    void SetCaptionStyle(bool on);
    void SetSysMenuStyle(bool painting);
    void PaintFrame(HDC dc);
    void PaintTitle(HDC dc);
    void DrawBorderPiece(int side, const RECT& rect, HDC dc);
    void DrawCaption(TCanvas& canvas, const RECT& titleRect);
    // `redraw` false when the whole window is about to be repainted anyway.
    void UpdateRegion(bool redraw = true);
    // The window goes back to its plain rectangle.
    void DropRegion();
    // Screen point to frame coordinates (window's top-left at 0, 0).
    POINT ScreenToFrame(POINT screen) const;
    std::wstring WindowTextWide() const;

    // ---- Caption buttons and system menu ----
    void LayoutButtons();
    bool IsButtonVisible(int i);
    void DrawButtons(TCanvas& canvas);
    // Repaints one button in its own state on a fresh window DC.
    void PaintButton(TSkinSysButton& button);
    TNCObject* ButtonAt(POINT framePoint);
    void DoButtonAction();
    void ToggleMaximize();
    void ToggleMinimize();
    void RestoreWindow();
    void ShowSystemMenu(int x, int y);
    void BuildSkinnedSystemMenu();
    void HoverTick();
    void DropButtonObjects();

    // ---- Child controls (the dispatch decides the wrapper of each) ----
    void SkinChildren(TWinControl* container);
    void SkinChild(TControl* control);
    void SkinForeignChildren(HWND window);
    void SkinForeignChild(HWND window);
    // True when the wrapper was listed already.
    bool AddChildSkin(TSkinControl* wrapper);
    void RemoveChildSkin(TSkinControl* wrapper);
    TSkinControl* ChildSkinOf(HWND handle) const;
    // Frees every wrapper (each removes itself from the list as it goes).
    void FreeChildSkins();
    // Drops wrappers whose window was destroyed.
    void FreeDeadChildSkins();

    // ---- Menu bar ----
    // Gives a window with a menu its skinned menu bar.
    void CreateMenuBar();
    // Shows the button's drop-down under it; false when it has none.
    bool OpenMenu(TMenuBtn& button);
    // Clicks a button as the mouse would (the running menu closes, the button's opens).
    void ClickMenuButton(TMenuBtn& button);
    TMenuBtn* MenuButtonByAccel(wchar_t ch);
    // Alt + key: the button with that accelerator (0: the first) opens; false when none.
    bool OpenMenuByKey(wchar_t ch);
    // A character the form did not take: Alt + accelerator clicks a menu-bar button.
    bool DialogChar(WPARAM ch);
    // Runs the form's menu-changed handling, then rebuilds the bar.
    LRESULT PassMenuChanged(const std::function<LRESULT()>& passOn);
    // After an MDI menu change: the bar takes `menu` (when given) and is rebuilt.
    void RebuildMenuBar(HMENU menu);

    // ---- Owner-drawn menu items ----
    void HookMenuItems(bool on);
    void HookPopupMenus(TComponent* component, bool on);
    void HookMenuTree(TMenuItem& root, bool on, bool mainMenu);
    void OwnerDrawMainMenu();
    void UnhookMenus();
    void MeasureMainMenuItem(TMenuItem& item, TCanvas& canvas, int& width, int& height);
    void MeasurePopupItem(TMenuItem& item, TCanvas& canvas, int& width, int& height);
    void DrawMenuItem(TMenuItem& item, TCanvas& canvas, RECT rect, bool selected, HMENU parent = nullptr);
    void DrawMenuItemPlain(TMenuItem& item, TCanvas& canvas, RECT rect, bool selected);
    void DrawForeignMenuItem(HMENU menu, UINT id, TCanvas& canvas, RECT rect, bool selected);
    void DrawItemContent(TMenuItem& item, TCanvas& canvas, bool selected, RECT rect);
    // WM_MEASUREITEM / WM_DRAWITEM of a menu; false: default processing.
    bool OnMeasureMenuItem(MEASUREITEMSTRUCT& item);
    bool OnDrawMenuItem(const DRAWITEMSTRUCT& item);
    TMenuItem* MainMenuItem(UINT id) const;

    // ---- Fields ----
    HWND FormHandle = nullptr;
    TControl* FormControl = nullptr;
    TSkinData* SkinData = nullptr;
    WNDPROC OldWndProc = nullptr;
    std::unique_ptr<TObjectWndProc> NewWndProc;
    TWndMethod OldWindowMethod;
    bool UnicodeWindow = false;
    int FrameLeft = 0, TitleHeight = 0, FrameRight = 0, FrameBottom = 0;
    int MenuBarHeight = 0;
    BYTE FrameKind = fkSizeable;
    BYTE MdiKind = mkNone;
    unsigned CaptionButtons = 0;
    BYTE WindowState = fwNormal;
    BYTE WindowActive = 1;
    int SkinState = ssAttached;
    bool IsDialogClass = false;
    bool RightToLeft = false;
    bool IsChildWindow = false;
    bool Sizeable = false;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    std::string ClassName;
    HWND OwnerWindow = nullptr;
    TFont CaptionFont;
    std::wstring CaptionPrefix = L"  ";
    std::wstring CaptionSuffix = L" ";
    RECT CaptionRect{};
    std::vector<std::unique_ptr<TSkinSysButton>> ButtonObjects;
    TNCObject* HotObject = nullptr;
    int RightButtonEdge = 0;
    TBitmap TitleBuffer;
    TBitmap IconBitmap;
    HICON WindowIcon = nullptr;
    int IconSize = 0;
    HRGN FrameRegion = nullptr;
    bool RegionOwned = false;
    int RegionWidth = 0, RegionHeight = 0;
    int LastPaintWidth = 0, LastPaintHeight = 0;
    RECT SystemFrameSize{};
    RECT ClientRect{};
    std::unique_ptr<TTimer> HoverTimer;
    std::vector<TSkinControl*> ChildSkins;
    TSkinControl* HotChild = nullptr;
    HMENU SystemMenu = nullptr;
    HMENU WindowMenu = nullptr;
    std::unique_ptr<TPopupMenu> SkinnedSystemMenu;
    std::unique_ptr<TSkinMenuBar> MenuBarPainter;
    bool MenuTracking = false;
    HMENU TrackedMenu = nullptr;   // the drop-down the menu bar opened last
    HWND MdiClient = nullptr;
    WNDPROC OldMdiClientProc = nullptr;
    std::unique_ptr<TObjectWndProc> NewMdiClientProc;
    bool SavedMenuUpdate = true;
    TColor SavedColor = clNone;
    int DoubleClickTime = 0;
    DWORD LastClickTick = 0;
    TCanvas SharedCanvas, SharedCanvas2;
    // The frame switch (the skin's xcMainMenu at attach): off means only colours and children.
    bool FrameSkinned = false;
    bool Activated = false;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    static LRESULT WindowProcThunk(void* self, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT MdiClientProcThunk(void* self, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT MdiClientProc(UINT msg, WPARAM wParam, LPARAM lParam);
    void FormWindowMethod(TMessage& message);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);
    bool StageA(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool StageB(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool StageC(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool NcMouse(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    void ReadWindowState();
    void RecordClientRect();
    void SetHoverTimer(bool on);
    void RepaintFrameNow();
    bool IsMaximizedMdiChild() const { return MdiKind == mkChild && WindowState == fwMaximized; }
    bool HasSysCloseItem() const;
    void SwapMdiClient(bool install);
    void RestoreWindowProc();
    void ResizeToSystemFrame();

    TDataSkinBorder* BorderElement(int side) const;
    void SendActiveMdiChild(WPARAM command);
    void DrawWindowIcon(HDC dc, const RECT& rect);
};

// The frame painter serving `window`, if any (through the skin manager's registry).
TSkinForm* FindSkinForm(HWND window);
