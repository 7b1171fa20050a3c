// Which wrapper each child control of a skinned window gets.
#include "classlib/controls/WinControl.h"
#include "skin/form/SkinForm.h"

void TSkinForm::SkinChildren(TWinControl*)
{
    FreeDeadChildSkins();
}

void TSkinForm::SkinChild(TControl*) {}

void TSkinForm::SkinForeignChildren(HWND) {}

void TSkinForm::SkinForeignChild(HWND) {}
