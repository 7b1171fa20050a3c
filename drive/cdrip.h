// cdrip: the CD drive layer. Real CD drives (Windows) and CUE/BIN disc images behind one C ABI.
// Paths are UTF-8. All entry points are safe to call from any thread (one lock inside).
#pragma once

#include <stdint.h>

#if defined(_WIN32)
#  if defined(CDRIP_BUILDING)
#    define CDRIP_API __declspec(dllexport)
#  else
#    define CDRIP_API __declspec(dllimport)
#  endif
#else
#  define CDRIP_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Results of the entry points that report success.
enum {
  CR_OK = 0,
  CR_ERROR = 1,
  CR_NOTSUPPORTED = 2
};

enum {
  CR_SECTOR_BYTES = 2352,
  CR_NAME_BYTES = 255
};

// Control/address byte of a table-of-contents entry: ADR 1 in the high nibble, the control
// bits of the track in the low nibble (0x04 data, 0x02 copy permitted, 0x01 pre-emphasis).
enum {
  CR_FLAG_AUDIO = 0x10,
  CR_FLAG_DATA = 0x14
};

#pragma pack(push, 1)
typedef struct TTocEntry {
  uint32_t StartSector;  // logical block address; for the lead-out entry the end of the disc
  uint8_t Flag;
  uint8_t TrackNumber;   // 0xAA for the lead-out
  uint8_t Reserved[2];
} TTocEntry;

typedef struct TCDROMParams {
  char Name[CR_NAME_BYTES];  // NUL-terminated UTF-8
  uint8_t Reserved[364 - CR_NAME_BYTES];
} TCDROMParams;
#pragma pack(pop)

#ifdef __cplusplus
static_assert(sizeof(TTocEntry) == 8, "TTocEntry is 8 bytes");
static_assert(sizeof(TCDROMParams) == 364, "TCDROMParams is 364 bytes");
#endif

// Drives and the table of contents.
CDRIP_API int32_t CR_Init(const char* iniPath);
CDRIP_API int32_t CR_DeInit(void);
CDRIP_API int32_t CR_GetNumCDROM(void);
CDRIP_API void CR_SetActiveCDROM(int32_t drive);
CDRIP_API int32_t CR_GetActiveCDROM(void);
CDRIP_API int32_t CR_GetCDROMParameters(TCDROMParams* params);
CDRIP_API int32_t CR_ReadToc(void);
CDRIP_API int32_t CR_GetNumTocEntries(void);
CDRIP_API TTocEntry CR_GetTocEntry(int32_t index);
CDRIP_API int32_t CR_IsMediaLoaded(int32_t* status);  // *status: 0 medium present, 1 none
CDRIP_API int32_t CR_IsAudioPlaying(void);
CDRIP_API int32_t CR_EjectCD(int32_t open);           // non-zero opens the tray, 0 closes it

// Audio extraction of the sectors [firstSector, endSector) of the active drive.
CDRIP_API int32_t CR_OpenRipper(int32_t* bufferSize, int32_t firstSector, int32_t endSector);
CDRIP_API int32_t CR_RipChunk(uint8_t* buffer, int32_t* bytesWritten, int32_t* abort);
CDRIP_API int32_t CR_CloseRipper(void);

// Further entry points. Version, percentage, current sector and unit-ready answer; playing,
// settings, CD-Text and jitter are not offered and report CR_NOTSUPPORTED or zero.
CDRIP_API int32_t CR_GetCDRipVersion(void);
CDRIP_API int32_t CR_SelectCDROMType(int32_t type);
CDRIP_API int32_t CR_GetCDROMType(void);
CDRIP_API int32_t CR_SetCDROMParameters(TCDROMParams* params);
CDRIP_API int32_t CR_GetPercentCompleted(void);
CDRIP_API int32_t CR_GetPeakValue(void);
CDRIP_API int32_t CR_GetNumberOfJitterErrors(void);
CDRIP_API int32_t CR_GetJitterPosition(void);
CDRIP_API void CR_LoadSettings(void);
CDRIP_API int32_t CR_SaveSettings(void);
CDRIP_API void CR_NormalizeChunk(int16_t* samples, int32_t sampleCount, double scale);
CDRIP_API int32_t CR_ReadCDText(uint8_t* buffer, int32_t bufferSize, int32_t* textSize);
CDRIP_API int32_t CR_IsUnitReady(void);
CDRIP_API int32_t CR_PlayTrack(int32_t track);
CDRIP_API int32_t CR_StopPlayTrack(void);
CDRIP_API int32_t CR_PauseCD(int32_t pause);
CDRIP_API int32_t CR_GetCDStatusInfo(void);
CDRIP_API int32_t CR_LockCD(int32_t lock);
CDRIP_API int32_t CR_GetSubChannelTrackInfo(int32_t* track, int32_t* index, int32_t* relative,
                                            int32_t* absolute);
CDRIP_API int32_t CR_GetPlayPosition(int32_t* position);
CDRIP_API int32_t CR_SetPlayPosition(int32_t position);
CDRIP_API int32_t CR_PlaySection(int32_t startSector, int32_t endSector);
CDRIP_API int32_t CR_GetLastJitterErrorPosition(void);
CDRIP_API int32_t CR_GetCurrentRipSector(void);
CDRIP_API void CR_SetTransportLayer(int32_t layer);
CDRIP_API int32_t CR_GetTransportLayer(void);
CDRIP_API int32_t CR_ScanForC2Errors(int32_t startSector, int32_t sectorCount, int32_t* errors,
                                     int32_t* errorSectors);

#ifdef __cplusplus
}
#endif
