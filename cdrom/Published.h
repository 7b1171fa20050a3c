#pragma once
#include "classlib/TypeInfo.h"

// TCDIn (CurrentDrive, StartTrack, EndTrack), after the pipeline classes. Registering twice
// does nothing.
void RegisterCDInClasses(TClassRegistry& registry);
