#pragma once
// What the skin component needs of the one global skin manager. The manager's module sets
// the factory; until it does, components work on their own and nothing is skinned.
#include <functional>
#include <memory>

#include <windows.h>

class TSkinData;

enum class TSkinCommand { scActivate, scDeactivate, scRefresh };

class TSkinManagerBase {
public:
    virtual ~TSkinManagerBase() = default;

    virtual void AddSkinData(TSkinData* skin) = 0;
    virtual void RemoveSkinData(TSkinData* skin) = 0;
    // The component the next command is about.
    virtual void SetPendingSkin(TSkinData* skin) = 0;
    // Carried out after `delayMs` on the GUI thread.
    virtual void Command(TSkinCommand command, int delayMs) = 0;
    // 1 while running.
    virtual int State() const = 0;
    virtual void SetState(int state) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual void InstallHook() = 0;
    virtual void SkinWindow(HWND window) = 0;
    // Every skinned window using `skin` re-reads it.
    virtual void RefreshSkin(TSkinData* skin) = 0;
};

using TSkinManagerFactory = std::function<std::unique_ptr<TSkinManagerBase>()>;

// The manager, or nullptr when none has been made.
TSkinManagerBase* SkinManager();
// Makes the manager through the factory when there is none (nullptr without a factory).
TSkinManagerBase* EnsureSkinManager();
void SetSkinManagerFactory(TSkinManagerFactory factory);
// Ends the manager (at program end; tests between cases).
void DestroySkinManager();

// Whether user32 offers GetScrollBarInfo (scroll bars are skinned only then).
bool ScrollBarInfoAvailable();
