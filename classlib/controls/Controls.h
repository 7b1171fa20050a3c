#pragma once
// The control base classes in one include, and the published properties of every class of
// the Windows controls library (controls, forms, standard controls, menus, timer, dialogs).
#include "classlib/controls/Control.h"
#include "classlib/controls/Messages.h"
#include "classlib/controls/WinControl.h"

class TClassRegistry;
struct TEnumInfo;

// Needs the graphics classes registered first (TFont, TPicture).
void RegisterControlClasses(TClassRegistry& registry);

const TEnumInfo& AlignEnumInfo(); // alNone ...
