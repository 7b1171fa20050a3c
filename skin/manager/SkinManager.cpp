#include "skin/manager/SkinManager.h"

#include <algorithm>
#include <cctype>

#include "classlib/controls/WinControl.h"
#include "classlib/forms/Form.h"
#include "classlib/forms/Screen.h"
#include "classlib/stdctrls/Timer.h"
#include "skin/SkinMessages.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skin/menu/SkinPopupMenu.h"

std::string WindowClassName(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string LowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TSkinManager* TheSkinManager() { return dynamic_cast<TSkinManager*>(SkinManager()); }

void UseSkinManager()
{
    SetSkinManagerFactory([] { return std::make_unique<TSkinManager>(); });
}

TSkinManager::TSkinManager()
{
    Timer = std::make_unique<TTimer>(nullptr);
    Timer->SetEnabled(false);
    Timer->OnTimer = [this](TComponent*) { TimerFired(); };
}

TSkinManager::~TSkinManager()
{
    State_ = msDestroying;
    Enabled = 0;
    Timer.reset();
    PopupMenus.clear();
    Forms.clear();
    Skins.clear();
    if (Hook)
        UnhookWindowsHookEx(Hook);
    Hook = nullptr;
}

// ---- Skin components ----------------------------------------------------------------------

void TSkinManager::RegisterSkin(TSkinData* skin)
{
    if (std::find(Skins.begin(), Skins.end(), skin) != Skins.end())
        return;
    Skins.push_back(skin);
    if (!MainSkin && skin->SkinFormtype() == sfMainform)
        MainSkin = skin;
}

void TSkinManager::UnregisterSkin(TSkinData* skin)
{
    Skins.erase(std::remove(Skins.begin(), Skins.end(), skin), Skins.end());
    // A destroyed component must never be used again.
    if (MainSkin == skin) {
        MainSkin = nullptr;
        for (TSkinData* other : Skins)
            if (other->SkinFormtype() == sfMainform) {
                MainSkin = other;
                break;
            }
    }
    if (PendingSkin == skin) {
        PendingSkin = nullptr;
        if (Timer)
            Timer->SetEnabled(false);
    }
}

void TSkinManager::RefreshSkin(TSkinData* skin)
{
    for (TSkinForm* frame : Forms)
        if (IsLiveFrame(frame) && frame->SkinData == skin)
            frame->DropButtonObjects();
}

TSkinData* TSkinManager::FindSkin(HWND window) const
{
    for (auto it = Skins.rbegin(); it != Skins.rend(); ++it) {
        if ((*it)->SkinFormtype() != sfOnlyThisForm)
            continue;
        auto* owner = dynamic_cast<TWinControl*>((*it)->Owner());
        if (owner && owner->HandleAllocated() && owner->Handle() == window)
            return *it;
    }
    const std::string name = LowerCase(WindowClassName(window));
    if (name == "tmessageform" || name == "#32770")
        for (auto it = Skins.rbegin(); it != Skins.rend(); ++it)
            if ((*it)->SkinFormtype() == sfDialog)
                return *it;
    for (auto it = Skins.rbegin(); it != Skins.rend(); ++it)
        if ((*it)->SkinFormtype() == sfMainform)
            return *it;
    return Skins.empty() ? nullptr : Skins.front();
}

bool TSkinManager::AllowSkin(const std::string& className)
{
    if (!MainSkin)
        return true;
    bool allow = true;
    if (!MainSkin->Options().Contains(xoPreview) && LowerCase(className).find("preview") != std::string::npos)
        allow = false;
    MainSkin->DoFormSkin(className, allow);
    return allow;
}

// ---- Frames -------------------------------------------------------------------------------

void TSkinManager::FrameCreated(TSkinForm* frame) { live_.push_back(frame); }

void TSkinManager::FrameDestroyed(TSkinForm* frame)
{
    live_.erase(std::remove(live_.begin(), live_.end(), frame), live_.end());
    Forget(frame->FormHandle);
}

bool TSkinManager::IsLiveFrame(const TSkinForm* frame) const
{
    return std::find(live_.begin(), live_.end(), frame) != live_.end();
}

TSkinForm* TSkinManager::FindForm(HWND window) const
{
    for (TSkinForm* frame : Forms)
        if (IsLiveFrame(frame) && frame->FormHandle == window)
            return frame;
    return nullptr;
}

void TSkinManager::Forget(HWND window)
{
    if (State_ == msDestroying)
        return;
    auto it = std::find_if(Forms.begin(), Forms.end(),
                      [&](TSkinForm* frame) { return IsLiveFrame(frame) && frame->FormHandle == window; });
    if (it != Forms.end())
        Forms.erase(it);
}

TControl* TSkinManager::FindControl(HWND window) const
{
    TScreen& screen = Screen();
    for (int i = 0; i < screen.FormCount(); ++i) {
        TCustomForm* form = screen.Forms(i);
        if (form->HandleAllocated() && form->Handle() == window)
            return form;
    }
    return ControlFromHandle(window);
}

void TSkinManager::PurgeForms()
{
    if (State_ == msDestroying)
        return;
    for (std::size_t i = Forms.size(); i-- > 0;) {
        TSkinForm* frame = Forms[i];
        if (!IsLiveFrame(frame)) {
            Forms.erase(Forms.begin() + static_cast<std::ptrdiff_t>(i));
        } else if (frame->SkinState == ssReleased) {
            Forms.erase(Forms.begin() + static_cast<std::ptrdiff_t>(i));
            delete frame;
        }
    }
}

bool TSkinManager::SkinForm(TCustomForm* form)
{
    if (!form->Visible() || !form->HandleAllocated())
        return false;
    const HWND window = form->Handle();
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if ((style & WS_CHILD) && !(exStyle & WS_EX_MDICHILD))
        return false;
    return SkinWindowChecked(window);
}

bool TSkinManager::SkinWindowChecked(HWND window)
{
    if (Enabled != 1 || !IsWindow(window))
        return false;
    if (SendMessageA(window, SKM_ISSKINNED, 0, 0) == 1)
        return false;
    PurgeForms();
    if (FindForm(window))
        return false;
    TControl* control = FindControl(window);
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    const bool mdiChild = (exStyle & WS_EX_MDICHILD) != 0;
    const std::string className = WindowClassName(window);
    if (!SkinningAll && (style & WS_CHILD) && !mdiChild &&
        LowerCase(WindowClassName(GetParent(window))) != "mdiclient")
        return false;
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    if (!control && instance != GetModuleHandleW(nullptr) && className != "#32770")
        return false;
    RECT bounds{};
    GetWindowRect(window, &bounds);
    if (!mdiChild && (bounds.right - bounds.left == 0 || bounds.bottom - bounds.top == 0))
        return false;
    if (control && control->Tag() == 99)
        return false;
    if (className == "TApplication")
        return false;
    if (!AllowSkin(className))
        return false;
    TSkinData* skin = FindSkin(window);
    if (!skin || skin->SkinEmpty != 0)
        return false;
    auto* frame = new TSkinForm(control);
    frame->FormHandle = window;
    if (control)
        frame->AttachForm(skin, control);
    else
        frame->AttachWindow(skin);
    Forms.push_back(frame);
    PostMessageA(window, SKM_ACTIVATE, 0, 1000);
    return true;
}

void TSkinManager::DetachFrame(TSkinForm* frame)
{
    const HWND window = frame->FormHandle;
    frame->Detach();
    if (IsWindow(window)) {
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
    }
    Forms.erase(std::remove(Forms.begin(), Forms.end(), frame), Forms.end());
    delete frame;
}

// ---- Pop-up menus -------------------------------------------------------------------------

bool TSkinManager::IsPopupSkinned(HWND window) const
{
    return std::any_of(PopupMenus.begin(), PopupMenus.end(),
                       [&](const std::unique_ptr<TSkinPopupMenu>& popup) { return popup->Window == window; });
}

void TSkinManager::SkinPopup(HWND window)
{
    if (Enabled == 0 || SendMessageA(window, SKM_ISSKINNED, 0, 0) == 1 || IsPopupSkinned(window))
        return;
    TSkinData* skin = FindSkin(window);
    if (!skin || skin->SkinEmpty == 1)
        return;
    const TSkinControlTypes controls = skin->SkinControls();
    switch (MenuKind) {
    case mkPopupMenu:
        if (!controls.Contains(xcPopupMenu))
            return;
        break;
    case mkMenuBarDropDown:
        if (!controls.Contains(xcMainMenu) && !controls.Contains(xcMenuItem))
            return;
        break;
    case mkSystemMenu:
        if (!controls.Contains(xcSystemMenu))
            return;
        break;
    default:
        break;
    }
    auto popup = std::make_unique<TSkinPopupMenu>();
    popup->Attach(window, skin, nullptr);
    PopupMenus.push_back(std::move(popup));
}

void TSkinManager::UnskinPopup(HWND window)
{
    auto it = std::find_if(PopupMenus.begin(), PopupMenus.end(),
                           [&](const std::unique_ptr<TSkinPopupMenu>& popup) { return popup->Window == window; });
    if (it == PopupMenus.end())
        return;
    (*it)->Detach();
    PopupMenus.erase(it);
    if (PopupMenus.empty())
        MenuKind = mkPopupMenu;
}

void TSkinManager::AssignPopupMenu(HMENU menu)
{
    for (auto it = PopupMenus.rbegin(); it != PopupMenus.rend(); ++it)
        if (!(*it)->MenuHandle) {
            (*it)->MenuHandle = menu;
            return;
        }
}

TBitmap* TSkinManager::PopupBackground(HMENU menu) const
{
    for (const auto& popup : PopupMenus)
        if (popup->MenuHandle == menu)
            return &popup->Background;
    return nullptr;
}
