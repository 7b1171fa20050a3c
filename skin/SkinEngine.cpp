#include "skin/SkinEngine.h"

#include "skin/data/SkinData.h"
#include "skin/manager/SkinManager.h"

void RegisterSkinEngine(TClassRegistry& registry)
{
    RegisterSkinDataClasses(registry);
    UseSkinManager();
}

void ShutdownSkinEngine() { DestroySkinManager(); }
