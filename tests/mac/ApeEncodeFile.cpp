// The compressor library's C functions driven the way an output drives them (linked
// directly; the output tests load the library by name instead).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "mac/ApeTestSupport.h"

namespace apetest {

std::int32_t EncodeFile(const std::string& path, const Bytes& pcm, const EncodeOptions& options) {
    std::int32_t error = -1;
    void* handle = c_APECompress_Create(&error);
    EXPECT_EQ(error, 0);
    if (!handle) return error;
    TWaveFormatEx format{};
    EXPECT_EQ(FillWaveFormatEx(&format, 44100, 16, options.channels), 0);
    const void* header = options.wavHeader ? options.wavHeader->data() : nullptr;
    const std::int32_t headerBytes = options.wavHeader ? std::int32_t(options.wavHeader->size())
                                                       : MAC_CREATE_WAV_HEADER_ON_DECOMPRESSION;
    std::int32_t result = c_APECompress_Start(handle, path.c_str(), &format, options.maxAudioBytes,
                                              options.level, header, headerBytes);
    for (std::size_t at = 0; result == 0 && at < pcm.size();) {
        // One read of up to readSize bytes, handed over in the pieces the library offers.
        std::size_t remaining = std::min(options.readSize, pcm.size() - at);
        while (result == 0 && remaining > 0) {
            std::int32_t room = 0;
            std::uint8_t* buffer = c_APECompress_LockBuffer(handle, &room);
            if (!buffer || room <= 0) {
                ADD_FAILURE() << "the library offers no room at byte " << at;
                result = -1;
                break;
            }
            const std::size_t piece = std::min(std::size_t(room), remaining);
            std::memcpy(buffer, pcm.data() + at, piece);
            result = c_APECompress_UnlockBuffer(handle, std::int32_t(piece), 1);
            at += piece;
            remaining -= piece;
        }
    }
    if (result == 0) {
        Bytes tail = options.tail ? *options.tail : Bytes();
        result = c_APECompress_Finish(handle, tail.empty() ? nullptr : tail.data(),
                                      std::int32_t(tail.size()), std::int32_t(tail.size()));
    }
    c_APECompress_Destroy(handle);
    return result;
}

}  // namespace apetest
