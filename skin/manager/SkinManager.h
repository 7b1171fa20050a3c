#pragma once
// TSkinManager: the one global object that decides which windows of the GUI thread get a
// skinned frame and which pop-up menu windows a skinned background. It watches window
// creation and activation through a WH_CBT hook and carries out the skin components'
// activate, deactivate and refresh commands through a 250 ms one-shot timer.
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "skin/data/SkinManagerApi.h"

class TSkinData;
class TSkinForm;
class TSkinPopupMenu;
class TTimer;
class TControl;
class TCustomForm;
class TBitmap;

enum TMenuKind { mkPopupMenu = 0, mkMenuBarDropDown = 1, mkSystemMenu = 2 };
enum : int { msIdle = 0, msRunning = 1, msDestroying = 4 };
enum : int { pcActivate = 1, pcDeactivate = 2, pcRefresh = 3 };

class TSkinManager : public TSkinManagerBase {
public:
    TSkinManager();
    ~TSkinManager() override;

    // ---- What the skin components ask ----
    void AddSkinData(TSkinData* skin) override { RegisterSkin(skin); }
    void RemoveSkinData(TSkinData* skin) override { UnregisterSkin(skin); }
    void SetPendingSkin(TSkinData* skin) override { PendingSkin = skin; }
    void Command(TSkinCommand command, int delayMs) override;
    int State() const override { return State_; }
    void SetState(int state) override { State_ = state; }
    void SetEnabled(bool enabled) override { Enabled = enabled ? 1 : 0; }
    void InstallHook() override;
    void SkinWindow(HWND window) override { SkinWindowChecked(window); }
    void RefreshSkin(TSkinData* skin) override;

    void RegisterSkin(TSkinData* skin);
    void UnregisterSkin(TSkinData* skin);
    void Command(int code, int delayMs);
    void TimerFired();

    bool SkinForm(TCustomForm* form);
    // True only when a frame was attached.
    bool SkinWindowChecked(HWND window);
    bool AllowSkin(const std::string& className);
    TSkinData* FindSkin(HWND window) const;
    TSkinForm* FindForm(HWND window) const;
    void Forget(HWND window);
    TControl* FindControl(HWND window) const;
    void PurgeForms();

    // ---- Frame bookkeeping ----
    // Every frame announces itself while it lives, so the registry can tell a freed entry.
    void FrameCreated(TSkinForm* frame);
    void FrameDestroyed(TSkinForm* frame);
    bool IsLiveFrame(const TSkinForm* frame) const;

    // ---- Pop-up menus ----
    void SkinPopup(HWND window);
    void UnskinPopup(HWND window);
    bool IsPopupSkinned(HWND window) const;
    void AssignPopupMenu(HMENU menu);
    TBitmap* PopupBackground(HMENU menu) const;

    // ---- MDI ----
    void SetMdiMaximized(bool on);

    // ---- Fields ----
    std::unique_ptr<TTimer> Timer;
    HHOOK Hook = nullptr;
    std::vector<TSkinForm*> Forms;
    std::vector<std::unique_ptr<TSkinPopupMenu>> PopupMenus;
    std::vector<TSkinData*> Skins;
    BYTE Enabled = 0;
    BYTE SkinningAll = 0;
    int State_ = msIdle;
    int MenuKind = mkPopupMenu;
    BYTE MdiMaximized = 0;
    HWND MdiClientWindow = nullptr;
    TControl* MdiFrameForm = nullptr;
    int PendingCommand = 0;
    TSkinData* PendingSkin = nullptr;
    TSkinData* MainSkin = nullptr;

private:
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    void OnCreateWindow(HWND window, const CBT_CREATEWNDW& create);
    void DetachFrame(TSkinForm* frame);
    void FireCommandFor(TSkinData* skin, int code);
    std::vector<TSkinForm*> live_;
};

// The running manager, or nullptr before the first skin component was loaded.
TSkinManager* TheSkinManager();
// Lets the skin components make the manager (called once at program start).
void UseSkinManager();

// Optional user32 functions, looked up once at start-up.
bool ScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO& info);
void TrackMouseLeave(HWND window);
bool ComboBoxInfo(HWND window, COMBOBOXINFO& info);

// A window's class name as the system reports it.
std::string WindowClassName(HWND window);
std::string LowerCase(std::string text);
