// The exported entry points. Settings file keys read here:
//   [CD-ROM] nActive=<drive selected at start>
//   [Images] Image1=<UTF-8 path of a .cue>, Image2=..., up to the first missing or empty key;
//            a relative path is taken from the settings file's folder.
#include "cdrip.h"

#include "Drive.h"
#include "Files.h"
#include "ImageDrive.h"
#include "IniFile.h"
#include "Ripper.h"
#include "SystemDrives.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace cdrip {
namespace {

constexpr int kMaxImages = 64;
constexpr int32_t kVersion = 100;

struct Library {
  std::mutex Lock;
  std::vector<std::unique_ptr<Drive>> Drives;
  int Active = 0;
  std::optional<Toc> LastToc;
  std::unique_ptr<Ripper> Rip;

  Drive* ActiveDrive() {
    if (Active < 0 || Active >= static_cast<int>(Drives.size())) return nullptr;
    return Drives[static_cast<size_t>(Active)].get();
  }

  void Reset() {
    Rip.reset();
    LastToc.reset();
    Drives.clear();
    Active = 0;
  }
};

// Never destroyed: a client may call CR_DeInit from its own static destructors at exit,
// after this library's statics would be gone.
Library& Lib() {
  static Library* library = new Library;
  return *library;
}

void AddImageDrives(Library& lib, const IniFile& ini, const std::filesystem::path& iniFolder) {
  for (int i = 1; i <= kMaxImages; ++i) {
    auto value = ini.Get("Images", "Image" + std::to_string(i));
    if (!value || value->empty()) break;
    std::filesystem::path cue = PathFromUtf8(*value);
    if (cue.is_relative()) cue = iniFolder / cue;
    lib.Drives.push_back(std::make_unique<ImageDrive>(cue));
  }
}

}  // namespace
}  // namespace cdrip

using cdrip::Lib;
using Guard = std::lock_guard<std::mutex>;

extern "C" {

CDRIP_API int32_t CR_Init(const char* iniPath) {
  auto& lib = Lib();
  Guard guard(lib.Lock);
  lib.Reset();
  lib.Drives = cdrip::FindSystemDrives();
  if (iniPath && *iniPath) {
    std::filesystem::path path = cdrip::PathFromUtf8(iniPath);
    cdrip::IniFile ini = cdrip::IniFile::Load(path);
    cdrip::AddImageDrives(lib, ini, path.parent_path());
    int active = ini.GetInt("CD-ROM", "nActive", 0);
    if (active >= 0 && active < static_cast<int>(lib.Drives.size())) lib.Active = active;
  }
  return CR_OK;
}

CDRIP_API int32_t CR_DeInit(void) {
  auto& lib = Lib();
  Guard guard(lib.Lock);
  lib.Reset();
  return CR_OK;
}

CDRIP_API int32_t CR_GetNumCDROM(void) {
  auto& lib = Lib();
  Guard guard(lib.Lock);
  return static_cast<int32_t>(lib.Drives.size());
}

CDRIP_API void CR_SetActiveCDROM(int32_t drive) {
  auto& lib = Lib();
  Guard guard(lib.Lock);
  if (drive < 0 || drive >= static_cast<int32_t>(lib.Drives.size()) || drive == lib.Active)
    return;
  lib.Active = drive;
  lib.LastToc.reset();
}

CDRIP_API int32_t CR_GetActiveCDROM(void) {
  auto& lib = Lib();
  Guard guard(lib.Lock);
  return lib.Active;
}

CDRIP_API int32_t CR_GetCDROMParameters(TCDROMParams* params) {
  if (!params) return CR_ERROR;
  auto& lib = Lib();
  Guard guard(lib.Lock);
  std::memset(params, 0, sizeof *params);
  cdrip::Drive* drive = lib.ActiveDrive();
  if (!drive) return CR_ERROR;
  std::string name = drive->Name();
  std::memcpy(params->Name, name.data(), std::min(name.size(), size_t(CR_NAME_BYTES - 1)));
  return CR_OK;
}

CDRIP_API int32_t CR_ReadToc(void) {
  auto& lib = Lib();
  Guard guard(lib.Lock);
  cdrip::Drive* drive = lib.ActiveDrive();
  lib.LastToc = drive ? drive->ReadToc() : std::nullopt;
  return lib.LastToc ? CR_OK : CR_ERROR;
}

CDRIP_API int32_t CR_GetNumTocEntries(void) {
  auto& lib = Lib();
  Guard guard(lib.Lock);
  return lib.LastToc ? lib.LastToc->TrackCount() : 0;
}

CDRIP_API TTocEntry CR_GetTocEntry(int32_t index) {
  auto& lib = Lib();
  Guard guard(lib.Lock);
  TTocEntry entry{};
  if (lib.LastToc && index >= 0 && index < static_cast<int32_t>(lib.LastToc->Entries.size())) {
    const cdrip::TocTrack& t = lib.LastToc->Entries[static_cast<size_t>(index)];
    entry.StartSector = t.StartSector;
    entry.Flag = t.Flag;
    entry.TrackNumber = t.TrackNumber;
  }
  return entry;
}

CDRIP_API int32_t CR_IsMediaLoaded(int32_t* status) {
  if (!status) return CR_ERROR;
  auto& lib = Lib();
  Guard guard(lib.Lock);
  cdrip::Drive* drive = lib.ActiveDrive();
  *status = drive && drive->MediaLoaded() ? 0 : 1;
  return CR_OK;
}

CDRIP_API int32_t CR_IsAudioPlaying(void) {
  auto& lib = Lib();
  Guard guard(lib.Lock);
  cdrip::Drive* drive = lib.ActiveDrive();
  return drive && drive->AudioPlaying() ? 1 : 0;
}

CDRIP_API int32_t CR_EjectCD(int32_t open) {
  auto& lib = Lib();
  Guard guard(lib.Lock);
  cdrip::Drive* drive = lib.ActiveDrive();
  lib.LastToc.reset();
  return drive && drive->Eject(open != 0) ? CR_OK : CR_ERROR;
}

CDRIP_API int32_t CR_OpenRipper(int32_t* bufferSize, int32_t firstSector, int32_t endSector) {
  auto& lib = Lib();
  Guard guard(lib.Lock);
  lib.Rip.reset();
  cdrip::Drive* drive = lib.ActiveDrive();
  if (!drive || !bufferSize || *bufferSize < CR_SECTOR_BYTES || firstSector < 0 ||
      endSector < firstSector)
    return CR_ERROR;
  std::optional<cdrip::Toc> toc = drive->ReadToc();
  if (!toc || uint32_t(endSector) > toc->Entries.back().StartSector) return CR_ERROR;
  int chunkSectors = *bufferSize / CR_SECTOR_BYTES;
  *bufferSize = chunkSectors * CR_SECTOR_BYTES;
  lib.Rip = std::make_unique<cdrip::Ripper>(*drive, uint32_t(firstSector), uint32_t(endSector),
                                            chunkSectors);
  return CR_OK;
}

CDRIP_API int32_t CR_RipChunk(uint8_t* buffer, int32_t* bytesWritten, int32_t* abort) {
  if (!bytesWritten) return CR_ERROR;
  *bytesWritten = 0;
  auto& lib = Lib();
  Guard guard(lib.Lock);
  if (!buffer || !lib.Rip) return CR_ERROR;
  if (abort && *abort) return CR_OK;
  bool readError = false;
  *bytesWritten = lib.Rip->NextChunk(buffer, readError);
  return readError ? CR_ERROR : CR_OK;
}

CDRIP_API int32_t CR_CloseRipper(void) {
  auto& lib = Lib();
  Guard guard(lib.Lock);
  lib.Rip.reset();
  return CR_OK;
}

CDRIP_API int32_t CR_GetCDRipVersion(void) { return cdrip::kVersion; }

CDRIP_API int32_t CR_GetPercentCompleted(void) {
  auto& lib = Lib();
  Guard guard(lib.Lock);
  return lib.Rip ? lib.Rip->PercentDone() : 0;
}

CDRIP_API int32_t CR_GetCurrentRipSector(void) {
  auto& lib = Lib();
  Guard guard(lib.Lock);
  return lib.Rip ? static_cast<int32_t>(lib.Rip->NextSector()) : 0;
}

CDRIP_API int32_t CR_IsUnitReady(void) {
  int32_t status = 1;
  CR_IsMediaLoaded(&status);
  return status == 0 ? 1 : 0;
}

// Entry points without a use in this layer.
CDRIP_API int32_t CR_SelectCDROMType(int32_t) { return CR_NOTSUPPORTED; }
CDRIP_API int32_t CR_GetCDROMType(void) { return 0; }
CDRIP_API int32_t CR_SetCDROMParameters(TCDROMParams*) { return CR_NOTSUPPORTED; }
CDRIP_API int32_t CR_GetPeakValue(void) { return 0; }
CDRIP_API int32_t CR_GetNumberOfJitterErrors(void) { return 0; }
CDRIP_API int32_t CR_GetJitterPosition(void) { return 0; }
CDRIP_API void CR_LoadSettings(void) {}
CDRIP_API int32_t CR_SaveSettings(void) { return CR_NOTSUPPORTED; }
CDRIP_API void CR_NormalizeChunk(int16_t*, int32_t, double) {}
CDRIP_API int32_t CR_ReadCDText(uint8_t*, int32_t, int32_t* textSize) {
  if (textSize) *textSize = 0;
  return CR_NOTSUPPORTED;
}
CDRIP_API int32_t CR_PlayTrack(int32_t) { return CR_NOTSUPPORTED; }
CDRIP_API int32_t CR_StopPlayTrack(void) { return CR_NOTSUPPORTED; }
CDRIP_API int32_t CR_PauseCD(int32_t) { return CR_NOTSUPPORTED; }
CDRIP_API int32_t CR_GetCDStatusInfo(void) { return CR_NOTSUPPORTED; }
CDRIP_API int32_t CR_LockCD(int32_t) { return CR_NOTSUPPORTED; }
CDRIP_API int32_t CR_GetSubChannelTrackInfo(int32_t*, int32_t*, int32_t*, int32_t*) {
  return CR_NOTSUPPORTED;
}
CDRIP_API int32_t CR_GetPlayPosition(int32_t* position) {
  if (position) *position = 0;
  return CR_NOTSUPPORTED;
}
CDRIP_API int32_t CR_SetPlayPosition(int32_t) { return CR_NOTSUPPORTED; }
CDRIP_API int32_t CR_PlaySection(int32_t, int32_t) { return CR_NOTSUPPORTED; }
CDRIP_API int32_t CR_GetLastJitterErrorPosition(void) { return 0; }
CDRIP_API void CR_SetTransportLayer(int32_t) {}
CDRIP_API int32_t CR_GetTransportLayer(void) { return 0; }
CDRIP_API int32_t CR_ScanForC2Errors(int32_t, int32_t, int32_t* errors, int32_t*) {
  if (errors) *errors = 0;
  return CR_NOTSUPPORTED;
}

}  // extern "C"
