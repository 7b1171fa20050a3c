// The machine's own CD drives, in drive-letter order (none where the system has no such API).
#pragma once

#include "Drive.h"

#include <memory>
#include <vector>

namespace cdrip {

std::vector<std::unique_ptr<Drive>> FindSystemDrives();

}  // namespace cdrip
