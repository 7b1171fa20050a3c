#pragma once
// Colour text of skins ("74 80 94": red, green, blue) and the default control-class map.
#include <string>
#include <string_view>
#include <vector>

#include "classlib/graphics/Color.h"

// Empty text gives `fallback`; otherwise up to three decimal runs are red, green and blue,
// each taken modulo 256. A last run not followed by a separator counts only as blue.
TColor ParseColour(std::string_view text, TColor fallback);

// class name = skinned-control kind, for control classes of other libraries.
const std::vector<std::string>& DefaultSkin3rd();
