#pragma once
// Binding to the CD drive layer (cdrip.dll; libcdrip.so natively), loaded at run time by its
// bare name from the program's folder or the system folders.
#include <string>

#include "drive/cdrip.h"

// The library's entry points. Only the fourteen used by TCDIn are required to exist.
struct TCDRipEntryPoints {
    decltype(&::CR_Init) CR_Init = nullptr;
    decltype(&::CR_DeInit) CR_DeInit = nullptr;
    decltype(&::CR_GetCDRipVersion) CR_GetCDRipVersion = nullptr;
    decltype(&::CR_GetNumCDROM) CR_GetNumCDROM = nullptr;
    decltype(&::CR_GetActiveCDROM) CR_GetActiveCDROM = nullptr;
    decltype(&::CR_SetActiveCDROM) CR_SetActiveCDROM = nullptr;
    decltype(&::CR_SelectCDROMType) CR_SelectCDROMType = nullptr;
    decltype(&::CR_GetCDROMType) CR_GetCDROMType = nullptr;
    decltype(&::CR_GetCDROMParameters) CR_GetCDROMParameters = nullptr;
    decltype(&::CR_SetCDROMParameters) CR_SetCDROMParameters = nullptr;
    decltype(&::CR_OpenRipper) CR_OpenRipper = nullptr;
    decltype(&::CR_CloseRipper) CR_CloseRipper = nullptr;
    decltype(&::CR_GetPercentCompleted) CR_GetPercentCompleted = nullptr;
    decltype(&::CR_GetPeakValue) CR_GetPeakValue = nullptr;
    decltype(&::CR_GetNumberOfJitterErrors) CR_GetNumberOfJitterErrors = nullptr;
    decltype(&::CR_GetJitterPosition) CR_GetJitterPosition = nullptr;
    decltype(&::CR_RipChunk) CR_RipChunk = nullptr;
    decltype(&::CR_LoadSettings) CR_LoadSettings = nullptr;
    decltype(&::CR_SaveSettings) CR_SaveSettings = nullptr;
    decltype(&::CR_NormalizeChunk) CR_NormalizeChunk = nullptr;
    decltype(&::CR_ReadToc) CR_ReadToc = nullptr;
    decltype(&::CR_ReadCDText) CR_ReadCDText = nullptr;
    decltype(&::CR_GetNumTocEntries) CR_GetNumTocEntries = nullptr;
    decltype(&::CR_GetTocEntry) CR_GetTocEntry = nullptr;
    decltype(&::CR_IsUnitReady) CR_IsUnitReady = nullptr;
    decltype(&::CR_IsMediaLoaded) CR_IsMediaLoaded = nullptr;
    decltype(&::CR_EjectCD) CR_EjectCD = nullptr;
    decltype(&::CR_IsAudioPlaying) CR_IsAudioPlaying = nullptr;
    decltype(&::CR_PlayTrack) CR_PlayTrack = nullptr;
    decltype(&::CR_StopPlayTrack) CR_StopPlayTrack = nullptr;
    decltype(&::CR_PauseCD) CR_PauseCD = nullptr;
    decltype(&::CR_GetCDStatusInfo) CR_GetCDStatusInfo = nullptr;
    decltype(&::CR_LockCD) CR_LockCD = nullptr;
    decltype(&::CR_GetSubChannelTrackInfo) CR_GetSubChannelTrackInfo = nullptr;
    decltype(&::CR_GetPlayPosition) CR_GetPlayPosition = nullptr;
    decltype(&::CR_SetPlayPosition) CR_SetPlayPosition = nullptr;
    decltype(&::CR_PlaySection) CR_PlaySection = nullptr;
    decltype(&::CR_GetLastJitterErrorPosition) CR_GetLastJitterErrorPosition = nullptr;
    decltype(&::CR_GetCurrentRipSector) CR_GetCurrentRipSector = nullptr;
    decltype(&::CR_SetTransportLayer) CR_SetTransportLayer = nullptr;
    decltype(&::CR_GetTransportLayer) CR_GetTransportLayer = nullptr;
    decltype(&::CR_ScanForC2Errors) CR_ScanForC2Errors = nullptr;
};

// File name of the library on this platform.
const char* CDRipLibraryName();

// Loads the library, resolves its entry points, writes "nActive" (and on Windows
// "nTransportLayer") to <programFolder>cdr.ini in section "CD-ROM", then calls CR_Init with
// that file. When the library is missing or lacks a used entry point nothing is written and
// CDRipLoaded() stays as it was. Raises EIniFileException when cdr.ini cannot be written.
void LoadCDRipLibrary(const std::string& programFolder);
bool CDRipLoaded();
// Valid while CDRipLoaded() is true.
const TCDRipEntryPoints& CDRip();
// CR_DeInit and release of the library; also done at program end.
void UnloadCDRipLibrary();
