// The exported C functions: argument checks and the exception firewall around ApeCompressor.
#include "MACDll.h"

#include <new>

#include "ApeCompressor.h"
#include "MacError.h"

static_assert(sizeof(TWaveFormatEx) == 18, "WAVEFORMATEX is 18 packed bytes");

namespace {

mac::ApeCompressor* Compressor(void* handle) { return static_cast<mac::ApeCompressor*>(handle); }

template <typename F>
int32_t Guarded(F&& f) {
  try {
    return f();
  } catch (const mac::MacError& e) {
    return e.code;
  } catch (const std::bad_alloc&) {
    return MAC_ERROR_INSUFFICIENT_MEMORY;
  } catch (...) {
    return MAC_ERROR_UNDEFINED;
  }
}

}  // namespace

extern "C" {

MACDLL_API void* c_APECompress_Create(int32_t* errorCode) {
  mac::ApeCompressor* compressor = new (std::nothrow) mac::ApeCompressor();
  if (errorCode) *errorCode = compressor ? MAC_ERROR_SUCCESS : MAC_ERROR_INSUFFICIENT_MEMORY;
  return compressor;
}

MACDLL_API void c_APECompress_Destroy(void* handle) { delete Compressor(handle); }

MACDLL_API int32_t c_APECompress_Start(void* handle, const char* utf8OutputFile,
                                       const TWaveFormatEx* format, int32_t maxAudioBytes,
                                       int32_t compressionLevel, const void* headerData,
                                       int32_t headerBytes) {
  if (!handle) return MAC_ERROR_BAD_PARAMETER;
  return Guarded([&] {
    return Compressor(handle)->Start(utf8OutputFile, format, maxAudioBytes, compressionLevel,
                                     headerData, headerBytes);
  });
}

MACDLL_API uint8_t* c_APECompress_LockBuffer(void* handle, int32_t* bytesAvailable) {
  if (!handle) {
    if (bytesAvailable) *bytesAvailable = 0;
    return nullptr;
  }
  return Compressor(handle)->LockBuffer(bytesAvailable);
}

MACDLL_API int32_t c_APECompress_UnlockBuffer(void* handle, int32_t bytesAdded,
                                              int32_t process) {
  if (!handle) return MAC_ERROR_BAD_PARAMETER;
  return Guarded([&] { return Compressor(handle)->UnlockBuffer(bytesAdded, process != 0); });
}

MACDLL_API int32_t c_APECompress_Finish(void* handle, uint8_t* terminatingData,
                                        int32_t terminatingBytes, int32_t wavTerminatingBytes) {
  if (!handle) return MAC_ERROR_BAD_PARAMETER;
  return Guarded([&] {
    return Compressor(handle)->Finish(terminatingData, terminatingBytes, wavTerminatingBytes);
  });
}

MACDLL_API int32_t FillWaveFormatEx(TWaveFormatEx* format, int32_t sampleRate,
                                    int32_t bitsPerSample, int32_t channels) {
  if (!format || sampleRate <= 0 || bitsPerSample <= 0 || bitsPerSample > 32 || channels <= 0 ||
      channels > 8)
    return MAC_ERROR_BAD_PARAMETER;
  const uint32_t blockAlign = uint32_t(channels) * ((uint32_t(bitsPerSample) + 7) / 8);
  format->FormatTag = 1;
  format->Channels = uint16_t(channels);
  format->SamplesPerSec = uint32_t(sampleRate);
  format->AvgBytesPerSec = uint32_t(sampleRate) * blockAlign;
  format->BlockAlign = uint16_t(blockAlign);
  format->BitsPerSample = uint16_t(bitsPerSample);
  format->ExtraSize = 0;
  return MAC_ERROR_SUCCESS;
}

}  // extern "C"
