#pragma once
// The further controls in one include, and their published properties.
#include "classlib/extctrls/BitBtn.h"
#include "classlib/extctrls/Edit.h"
#include "classlib/extctrls/GroupBox.h"
#include "classlib/extctrls/PageControl.h"
#include "classlib/extctrls/Panel.h"
#include "classlib/extctrls/RadioButton.h"
#include "classlib/extctrls/RadioGroup.h"
#include "classlib/extctrls/ScrollBox.h"
#include "classlib/extctrls/SpeedButton.h"
#include "classlib/extctrls/StatusBar.h"
#include "classlib/extctrls/TabControl.h"
#include "classlib/extctrls/TrackBar.h"
#include "classlib/extctrls/UpDown.h"

class TClassRegistry;

// Needs the control classes registered first (TWinControl, TButton ...).
void RegisterExtControlsClasses(TClassRegistry& registry);
