#include "CDRip.h"

#include "classlib/DynamicLibrary.h"
#include "classlib/ProfileFile.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

struct TCDRipBinding {
    TDynamicLibrary Library;
    bool Loaded = false;
    TCDRipEntryPoints EntryPoints;

    ~TCDRipBinding() { Unload(); }

    void Unload()
    {
        if (Loaded && EntryPoints.CR_DeInit)
            EntryPoints.CR_DeInit();
        Loaded = false;
        EntryPoints = {};
        Library.Close();
    }
};

TCDRipBinding& Binding()
{
    static TCDRipBinding binding;
    return binding;
}

template <typename F> void Resolve(const TDynamicLibrary& library, F& pointer, const char* name)
{
    pointer = library.Function<F>(name);
}

TCDRipEntryPoints ResolveAll(const TDynamicLibrary& lib)
{
    TCDRipEntryPoints e;
    Resolve(lib, e.CR_Init, "CR_Init");
    Resolve(lib, e.CR_DeInit, "CR_DeInit");
    Resolve(lib, e.CR_GetCDRipVersion, "CR_GetCDRipVersion");
    Resolve(lib, e.CR_GetNumCDROM, "CR_GetNumCDROM");
    Resolve(lib, e.CR_GetActiveCDROM, "CR_GetActiveCDROM");
    Resolve(lib, e.CR_SetActiveCDROM, "CR_SetActiveCDROM");
    Resolve(lib, e.CR_SelectCDROMType, "CR_SelectCDROMType");
    Resolve(lib, e.CR_GetCDROMType, "CR_GetCDROMType");
    Resolve(lib, e.CR_GetCDROMParameters, "CR_GetCDROMParameters");
    Resolve(lib, e.CR_SetCDROMParameters, "CR_SetCDROMParameters");
    Resolve(lib, e.CR_OpenRipper, "CR_OpenRipper");
    Resolve(lib, e.CR_CloseRipper, "CR_CloseRipper");
    Resolve(lib, e.CR_GetPercentCompleted, "CR_GetPercentCompleted");
    Resolve(lib, e.CR_GetPeakValue, "CR_GetPeakValue");
    Resolve(lib, e.CR_GetNumberOfJitterErrors, "CR_GetNumberOfJitterErrors");
    Resolve(lib, e.CR_GetJitterPosition, "CR_GetJitterPosition");
    Resolve(lib, e.CR_RipChunk, "CR_RipChunk");
    Resolve(lib, e.CR_LoadSettings, "CR_LoadSettings");
    Resolve(lib, e.CR_SaveSettings, "CR_SaveSettings");
    Resolve(lib, e.CR_NormalizeChunk, "CR_NormalizeChunk");
    Resolve(lib, e.CR_ReadToc, "CR_ReadToc");
    Resolve(lib, e.CR_ReadCDText, "CR_ReadCDText");
    Resolve(lib, e.CR_GetNumTocEntries, "CR_GetNumTocEntries");
    Resolve(lib, e.CR_GetTocEntry, "CR_GetTocEntry");
    Resolve(lib, e.CR_IsUnitReady, "CR_IsUnitReady");
    Resolve(lib, e.CR_IsMediaLoaded, "CR_IsMediaLoaded");
    Resolve(lib, e.CR_EjectCD, "CR_EjectCD");
    Resolve(lib, e.CR_IsAudioPlaying, "CR_IsAudioPlaying");
    Resolve(lib, e.CR_PlayTrack, "CR_PlayTrack");
    Resolve(lib, e.CR_StopPlayTrack, "CR_StopPlayTrack");
    Resolve(lib, e.CR_PauseCD, "CR_PauseCD");
    Resolve(lib, e.CR_GetCDStatusInfo, "CR_GetCDStatusInfo");
    Resolve(lib, e.CR_LockCD, "CR_LockCD");
    Resolve(lib, e.CR_GetSubChannelTrackInfo, "CR_GetSubChannelTrackInfo");
    Resolve(lib, e.CR_GetPlayPosition, "CR_GetPlayPosition");
    Resolve(lib, e.CR_SetPlayPosition, "CR_SetPlayPosition");
    Resolve(lib, e.CR_PlaySection, "CR_PlaySection");
    Resolve(lib, e.CR_GetLastJitterErrorPosition, "CR_GetLastJitterErrorPosition");
    Resolve(lib, e.CR_GetCurrentRipSector, "CR_GetCurrentRipSector");
    Resolve(lib, e.CR_SetTransportLayer, "CR_SetTransportLayer");
    Resolve(lib, e.CR_GetTransportLayer, "CR_GetTransportLayer");
    Resolve(lib, e.CR_ScanForC2Errors, "CR_ScanForC2Errors");
    return e;
}

// A library without one of these would fail in the middle of a query or a rip.
bool HasUsedEntryPoints(const TCDRipEntryPoints& e)
{
    return e.CR_Init && e.CR_DeInit && e.CR_GetNumCDROM && e.CR_SetActiveCDROM && e.CR_GetCDROMParameters &&
           e.CR_ReadToc && e.CR_GetNumTocEntries && e.CR_GetTocEntry && e.CR_IsMediaLoaded &&
           e.CR_IsAudioPlaying && e.CR_OpenRipper && e.CR_RipChunk && e.CR_CloseRipper && e.CR_EjectCD;
}

// The layer's transport for Windows: 0 on the 9x family, 1 on the NT family. Other systems
// have no such setting.
void WriteTransportLayer(const std::string& iniPath)
{
#ifdef _WIN32
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&version))
        return;
#pragma GCC diagnostic pop
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT)
        ProfileWriteString(iniPath, "CD-ROM", "nTransportLayer", "1");
    else if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
        ProfileWriteString(iniPath, "CD-ROM", "nTransportLayer", "0");
#else
    (void)iniPath;
#endif
}

} // namespace

const char* CDRipLibraryName()
{
#ifdef _WIN32
    return "cdrip.dll";
#else
    return "libcdrip.so";
#endif
}

void LoadCDRipLibrary(const std::string& programFolder)
{
    TDynamicLibrary library = TDynamicLibrary::Open(CDRipLibraryName());
    if (!library)
        return;
    TCDRipEntryPoints entryPoints = ResolveAll(library);
    if (!HasUsedEntryPoints(entryPoints))
        return;

    TCDRipBinding& binding = Binding();
    // A second load (a second CD input) keeps the library in use; the old handle is let go.
    binding.Library = std::move(library);
    binding.EntryPoints = entryPoints;
    binding.Loaded = true;

    const std::string iniPath = programFolder + "cdr.ini";
    ProfileWriteString(iniPath, "CD-ROM", "nActive", "0");
    WriteTransportLayer(iniPath);
    binding.EntryPoints.CR_Init(iniPath.c_str());
}

bool CDRipLoaded() { return Binding().Loaded; }

const TCDRipEntryPoints& CDRip() { return Binding().EntryPoints; }

void UnloadCDRipLibrary() { Binding().Unload(); }
