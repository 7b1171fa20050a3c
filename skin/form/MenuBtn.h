#pragma once
// One top-level item of a skinned menu bar: a non-client object that lights and presses like a
// caption button and opens the item's drop-down.
#include <string>

#include <windows.h>

#include "skin/form/NCObject.h"

class TMenuItem;
class TSkinData;

class TMenuBtn : public TNCObject {
public:
    TMenuBtn(TSkinForm* form, TSkinData* skin, int index) : TNCObject(form), SkinData(skin), Index(index) {}
    // Restores the unlit strip under the button, then frames it when lit or pressed.
    void Paint() override;

    TMenuItem* Item = nullptr;
    TSkinData* SkinData;
    int Index;
    std::wstring Caption;
    BYTE Enabled = 1;
    HMENU SubMenu = nullptr;
    UINT Command = 0;
};

// The character after a single "&" of a caption, upper-cased; 0 when there is none.
wchar_t AcceleratorOf(const std::wstring& caption);
