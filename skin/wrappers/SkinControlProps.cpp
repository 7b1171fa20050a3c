// The wrapped control's properties by name: wrappers serve every class that has them.
#include "classlib/TypeInfo.h"
#include "classlib/Unicode.h"
#include "skin/manager/SkinManager.h"
#include "skin/wrappers/SkinControl.h"

bool TSkinControl::HasProp(const std::string& name) const
{
    return Control && HasProperty(Control, name);
}

std::int64_t TSkinControl::PropOrdinal(const std::string& name) const
{
    return Control ? GetOrdPropOr(Control, name, -1) : -1;
}

std::string TSkinControl::PropName(const std::string& name) const
{
    if (!HasProp(name))
        return {};
    try {
        return GetPropText(Control, name);
    } catch (const EPropertyError&) {
        return {};
    }
}

bool TSkinControl::PropTrue(const std::string& name) const
{
    return LowerCase(PropName(name)) == "true";
}

std::wstring TSkinControl::PropWide(const std::string& name) const
{
    return Utf8ToWide(PropName(name));
}

TPersistent* TSkinControl::PropObject(const std::string& name) const
{
    return Control ? GetObjectPropAs<TPersistent>(Control, name) : nullptr;
}

bool TSkinControl::SetProp(const std::string& name, const std::string& text) const
{
    if (!HasProp(name))
        return false;
    try {
        SetPropText(Control, name, text);
        return true;
    } catch (const EPropertyError&) {
        return false;
    }
}
