// libFuzzer entry: the first two bytes are the size to decode, the rest the bit stream. Any
// stream decodes to the size (or at most 59 bytes more) without a fault.
#include <cstddef>
#include <cstdint>

#include "skin/Lzh.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::int32_t wanted = static_cast<std::int16_t>(data[0] | (data[1] << 8)); // negative sizes too
    std::size_t at = 2;
    std::int64_t produced = 0;
    TLZH lzh;
    lzh.Decode(
        wanted, [&](const void*, std::uint16_t count, std::uint16_t& actual) { produced += actual = count; },
        [&](void* buffer, std::uint16_t count, std::uint16_t& actual) {
            actual = 0;
            auto* p = static_cast<std::uint8_t*>(buffer);
            while (actual < count && at < size)
                p[actual++] = data[at++];
        });
    if (wanted <= 0 ? produced != 0 : (produced < wanted || produced > wanted + 59))
        __builtin_trap();
    return 0;
}
