#include "skin/data/SkinManagerApi.h"

#include <utility>

namespace {
std::unique_ptr<TSkinManagerBase>& ManagerSlot()
{
    static std::unique_ptr<TSkinManagerBase> manager;
    return manager;
}
TSkinManagerFactory& FactorySlot()
{
    static TSkinManagerFactory factory;
    return factory;
}
}

TSkinManagerBase* SkinManager() { return ManagerSlot().get(); }

TSkinManagerBase* EnsureSkinManager()
{
    if (!ManagerSlot() && FactorySlot())
        ManagerSlot() = FactorySlot()();
    return ManagerSlot().get();
}

void SetSkinManagerFactory(TSkinManagerFactory factory) { FactorySlot() = std::move(factory); }

void DestroySkinManager()
{
    // Moved out first: components unregistering while it goes must find no manager.
    std::unique_ptr<TSkinManagerBase> old = std::move(ManagerSlot());
    old.reset();
}

bool ScrollBarInfoAvailable()
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 && GetProcAddress(user32, "GetScrollBarInfo") != nullptr;
}
