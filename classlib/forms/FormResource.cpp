#include "classlib/forms/FormResource.h"

#include <windows.h>

#include "classlib/Unicode.h"
#include "classlib/form/FormReader.h"

std::optional<std::string> FindFormResource(const std::string& name)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, Utf8ToWide(name).c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!resource)
        return std::nullopt;
    HGLOBAL loaded = LoadResource(module, resource);
    const DWORD size = SizeofResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return std::nullopt;
    return std::string(static_cast<const char*>(data), size);
}

void ReadFormDescription(TComponent& root, const std::string& text)
{
    ReadFormText(text, root);
}
