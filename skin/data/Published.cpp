// TSkinData's published properties.
#include "classlib/TypeInfo.h"
#include "skin/data/SkinData.h"

namespace {
const TEnumInfo& SkinControlTypeInfo()
{
    static const TEnumInfo info{"TSkinControlType",
        {{"xcMainMenu", 0}, {"xcPopupMenu", 1}, {"xcMenuItem", 2}, {"xcToolbar", 3}, {"xcControlbar", 4},
         {"xcCombo", 5}, {"xcCheckBox", 6}, {"xcRadioButton", 7}, {"xcProgress", 8}, {"xcScrollbar", 9},
         {"xcEdit", 10}, {"xcButton", 11}, {"xcBitBtn", 12}, {"xcSpeedButton", 13}, {"xcSpin", 14},
         {"xcPanel", 15}, {"xcGroupBox", 16}, {"xcStatusBar", 17}, {"xcTab", 18}, {"xcTrackBar", 19},
         {"xcSystemMenu", 20}, {"xcFastReport", 21}}};
    return info;
}
const TEnumInfo& SkinOptionInfo()
{
    static const TEnumInfo info{"TSkinOption",
        {{"xoMDIScrollbar", 0}, {"xoMenuMerge", 1}, {"xoTransparent", 2}, {"xoPreview", 3},
         {"xoParentBackGround", 4}, {"xoNoFocusRect", 5}, {"xoToolbarBK", 6}}};
    return info;
}
const TEnumInfo& SkinFormTypeInfo()
{
    static const TEnumInfo info{"TSkinFormType", {{"sfMainform", 0}, {"sfOnlyThisForm", 1}, {"sfDialog", 2}, {"sfDLL", 3}}};
    return info;
}
}

void RegisterSkinDataClasses(TClassRegistry& registry)
{
    if (registry.Find("TSkinData"))
        return;
    registry.Register<TSkinData, TComponent>("TSkinData")
        .Bool("Active", &TSkinData::Active, &TSkinData::SetActive)
        .Int("DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag)
        .Set("SkinControls", SkinControlTypeInfo(), &TSkinData::SkinControls, &TSkinData::SetSkinControls)
        .Set("Options", SkinOptionInfo(), &TSkinData::Options, &TSkinData::SetOptions)
        .Object("Skin3rd", &TSkinData::Skin3rd, &TSkinData::SetSkin3rd)
        .Str("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile)
        .Str("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore)
        .Enum("SkinFormtype", SkinFormTypeInfo(), &TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype)
        .Str("Version", &TSkinData::Version, &TSkinData::SetVersion)
        .Bool("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate)
        .Bool("MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge)
        .Event("OnFormSkin", &TSkinData::OnFormSkin)
        .Event("OnSkinChanged", &TSkinData::OnSkinChanged)
        .Event("OnSkinControl", &TSkinData::OnSkinControl)
        .Binary("SkinStream", &TSkinData::StoredSkinStream, &TSkinData::ReadStoredSkinStream);
}
