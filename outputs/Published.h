#pragma once
#include "classlib/TypeInfo.h"

const TEnumInfo& WavTypeInfo();       // wtUnsupported .. wtACM
const TEnumInfo& VorbisBitRateInfo(); // brAutoSelect, br45 .. br499
const TEnumInfo& MP3BitRateInfo();    // br8 .. br320
// The five file outputs and their published settings, after the pipeline classes.
// Registering twice does nothing.
void RegisterOutputClasses(TClassRegistry& registry);
