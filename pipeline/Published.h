#pragma once
#include "classlib/TypeInfo.h"

// foRewrite, foAppend
const TEnumInfo& FileOutputModeInfo();
// The pipeline base classes and their published properties (Input, SuspendWhenIdle,
// FileName, FileMode and the three events). Registering twice does nothing.
void RegisterPipelineClasses(TClassRegistry& registry);
