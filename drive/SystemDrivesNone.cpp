#include "SystemDrives.h"

namespace cdrip {

// Natively only disc images are offered.
std::vector<std::unique_ptr<Drive>> FindSystemDrives() { return {}; }

}  // namespace cdrip
