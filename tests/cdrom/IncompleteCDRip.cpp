// A drive layer without CR_RipChunk: it loads, but the program cannot rip with it.
#include <cstdint>

#ifdef _WIN32
#define EXPORT extern "C" __declspec(dllexport)
#else
#define EXPORT extern "C" __attribute__((visibility("default")))
#endif

struct Entry {
    std::uint32_t StartSector;
    std::uint8_t Flag, TrackNumber, Reserved[2];
};

EXPORT std::int32_t CR_Init(const char*) { return 0; }
EXPORT std::int32_t CR_DeInit() { return 0; }
EXPORT std::int32_t CR_GetNumCDROM() { return 1; }
EXPORT void CR_SetActiveCDROM(std::int32_t) {}
EXPORT std::int32_t CR_GetCDROMParameters(void*) { return 0; }
EXPORT std::int32_t CR_ReadToc() { return 1; }
EXPORT std::int32_t CR_GetNumTocEntries() { return 0; }
EXPORT Entry CR_GetTocEntry(std::int32_t) { return {}; }
EXPORT std::int32_t CR_IsMediaLoaded(std::int32_t* status) { return *status = 1, 0; }
EXPORT std::int32_t CR_IsAudioPlaying() { return 0; }
EXPORT std::int32_t CR_OpenRipper(std::int32_t*, std::int32_t, std::int32_t) { return 1; }
EXPORT std::int32_t CR_CloseRipper() { return 0; }
EXPORT std::int32_t CR_EjectCD(std::int32_t) { return 0; }
