// The WH_CBT hook of the GUI thread: activations, MDI children and pop-up menu windows.
#include "classlib/Unicode.h"
#include "skin/form/SkinForm.h"
#include "skin/manager/SkinManager.h"

void TSkinManager::InstallHook()
{
    if (!Hook)
        Hook = SetWindowsHookExA(WH_CBT, &TSkinManager::CbtHook, nullptr, GetCurrentThreadId());
}

LRESULT CALLBACK TSkinManager::CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    TSkinManager* manager = TheSkinManager();
    if (!manager)
        return CallNextHookEx(nullptr, code, wParam, lParam);
    const HHOOK hook = manager->Hook;
    if (code >= 0 && manager->State_ != msDestroying) {
        const auto window = reinterpret_cast<HWND>(wParam);
        switch (code) {
        case HCBT_ACTIVATE:
            if (manager->State_ == msIdle)
                manager->State_ = msRunning;
            manager->SkinWindowChecked(window);
            break;
        case HCBT_DESTROYWND:
            manager->UnskinPopup(window);
            break;
        case HCBT_CREATEWND:
            // The A and W records share their layout up to the class name's type.
            if (auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam); create && create->lpcs)
                manager->OnCreateWindow(window, *create);
            break;
        default:
            break;
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

void TSkinManager::OnCreateWindow(HWND window, const CBT_CREATEWNDW& create)
{
    const CREATESTRUCTW& cs = *create.lpcs;
    // The window exists already: its class name can be read from it, whatever form the
    // creation record's name has (a string of either width or an atom).
    const std::string className = WindowClassName(window);
    if (className == "ScrollBar" && (cs.style & 0x10)) {
        if (TSkinForm* frame = FindForm(cs.hwndParent))
            frame->SkinForeignChild(window);
        return;
    }
    if (!(cs.style & WS_CHILD) && className == "#32768") {
        SkinPopup(window);
        return;
    }
    if (cs.dwExStyle & WS_EX_MDICHILD)
        SkinWindowChecked(window);
}
