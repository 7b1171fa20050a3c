// Internal failure carrying one of the library's error codes up to the C boundary.
#pragma once

#include <cstdint>

namespace mac {

struct MacError {
  int32_t code;
};

}  // namespace mac
