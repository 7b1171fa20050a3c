// libFuzzer entry: any bytes given to the CUE parser get an answer, never a fault.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "CueSheet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto result = cdrip::ParseCueSheet(std::string_view(reinterpret_cast<const char*>(data), size));
    if (result.Sheet && result.Sheet->Tracks.empty())
        __builtin_trap();
    return 0;
}
