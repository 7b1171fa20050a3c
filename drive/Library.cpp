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

// Created when the library is loaded and destroyed when it is unloaded. A client may call in
// from its own static destructors after that (at program exit); the entry points then find
// no state and answer as if no drive existed.
Library* g_library = new Library;

struct LibraryRelease {
  ~LibraryRelease() {
    delete g_library;
    g_library = nullptr;
  }
} g_release;

// Runs call(library) under the library's lock, or returns fallback after unloading began.
template <typename R, typename F>
R Locked(R fallback, F call) {
  Library* lib = g_library;
  if (!lib) return fallback;
  std::lock_guard<std::mutex> guard(lib->Lock);
  return call(*lib);
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

using cdrip::Library;
using cdrip::Locked;

extern "C" {

CDRIP_API int32_t CR_Init(const char* iniPath) {
  return Locked<int32_t>(CR_ERROR, [&](Library& lib) {
    lib.Reset();
    lib.Drives = cdrip::FindSystemDrives();
    if (iniPath && *iniPath) {
      std::filesystem::path path = cdrip::PathFromUtf8(iniPath);
      cdrip::IniFile ini = cdrip::IniFile::Load(path);
      cdrip::AddImageDrives(lib, ini, path.parent_path());
      int active = ini.GetInt("CD-ROM", "nActive", 0);
      if (active >= 0 && active < static_cast<int>(lib.Drives.size())) lib.Active = active;
    }
    return int32_t(CR_OK);
  });
}

CDRIP_API int32_t CR_DeInit(void) {
  return Locked<int32_t>(CR_OK, [](Library& lib) {
    lib.Reset();
    return int32_t(CR_OK);
  });
}

CDRIP_API int32_t CR_GetNumCDROM(void) {
  return Locked<int32_t>(0, [](Library& lib) { return static_cast<int32_t>(lib.Drives.size()); });
}

CDRIP_API void CR_SetActiveCDROM(int32_t drive) {
  Locked<int>(0, [&](Library& lib) {
    if (drive >= 0 && drive < static_cast<int32_t>(lib.Drives.size()) && drive != lib.Active) {
      lib.Active = drive;
      lib.LastToc.reset();
    }
    return 0;
  });
}

CDRIP_API int32_t CR_GetActiveCDROM(void) {
  return Locked<int32_t>(0, [](Library& lib) { return int32_t(lib.Active); });
}

CDRIP_API int32_t CR_GetCDROMParameters(TCDROMParams* params) {
  if (!params) return CR_ERROR;
  std::memset(params, 0, sizeof *params);
  return Locked<int32_t>(CR_ERROR, [&](Library& lib) {
    cdrip::Drive* drive = lib.ActiveDrive();
    if (!drive) return int32_t(CR_ERROR);
    std::string name = drive->Name();
    std::memcpy(params->Name, name.data(), std::min(name.size(), size_t(CR_NAME_BYTES - 1)));
    return int32_t(CR_OK);
  });
}

CDRIP_API int32_t CR_ReadToc(void) {
  return Locked<int32_t>(CR_ERROR, [](Library& lib) {
    cdrip::Drive* drive = lib.ActiveDrive();
    lib.LastToc = drive ? drive->ReadToc() : std::nullopt;
    return int32_t(lib.LastToc ? CR_OK : CR_ERROR);
  });
}

CDRIP_API int32_t CR_GetNumTocEntries(void) {
  return Locked<int32_t>(0, [](Library& lib) { return int32_t(lib.LastToc ? lib.LastToc->TrackCount() : 0); });
}

CDRIP_API TTocEntry CR_GetTocEntry(int32_t index) {
  return Locked<TTocEntry>(TTocEntry{}, [&](Library& lib) {
    TTocEntry entry{};
    if (lib.LastToc && index >= 0 && index < static_cast<int32_t>(lib.LastToc->Entries.size())) {
      const cdrip::TocTrack& t = lib.LastToc->Entries[static_cast<size_t>(index)];
      entry.StartSector = t.StartSector;
      entry.Flag = t.Flag;
      entry.TrackNumber = t.TrackNumber;
    }
    return entry;
  });
}

CDRIP_API int32_t CR_IsMediaLoaded(int32_t* status) {
  if (!status) return CR_ERROR;
  *status = 1;
  return Locked<int32_t>(CR_OK, [&](Library& lib) {
    cdrip::Drive* drive = lib.ActiveDrive();
    *status = drive && drive->MediaLoaded() ? 0 : 1;
    return int32_t(CR_OK);
  });
}

CDRIP_API int32_t CR_IsAudioPlaying(void) {
  return Locked<int32_t>(0, [](Library& lib) {
    cdrip::Drive* drive = lib.ActiveDrive();
    return int32_t(drive && drive->AudioPlaying() ? 1 : 0);
  });
}

CDRIP_API int32_t CR_EjectCD(int32_t open) {
  return Locked<int32_t>(CR_ERROR, [&](Library& lib) {
    cdrip::Drive* drive = lib.ActiveDrive();
    lib.LastToc.reset();
    return int32_t(drive && drive->Eject(open != 0) ? CR_OK : CR_ERROR);
  });
}

CDRIP_API int32_t CR_OpenRipper(int32_t* bufferSize, int32_t firstSector, int32_t endSector) {
  return Locked<int32_t>(CR_ERROR, [&](Library& lib) {
    lib.Rip.reset();
    cdrip::Drive* drive = lib.ActiveDrive();
    if (!drive || !bufferSize || *bufferSize < CR_SECTOR_BYTES || firstSector < 0 || endSector < firstSector)
      return int32_t(CR_ERROR);
    std::optional<cdrip::Toc> toc = drive->ReadToc();
    if (!toc || uint32_t(endSector) > toc->Entries.back().StartSector) return int32_t(CR_ERROR);
    int chunkSectors = *bufferSize / CR_SECTOR_BYTES;
    *bufferSize = chunkSectors * CR_SECTOR_BYTES;
    lib.Rip = std::make_unique<cdrip::Ripper>(*drive, uint32_t(firstSector), uint32_t(endSector), chunkSectors);
    return int32_t(CR_OK);
  });
}

CDRIP_API int32_t CR_RipChunk(uint8_t* buffer, int32_t* bytesWritten, int32_t* abort) {
  if (!bytesWritten) return CR_ERROR;
  *bytesWritten = 0;
  return Locked<int32_t>(CR_ERROR, [&](Library& lib) {
    if (!buffer || !lib.Rip) return int32_t(CR_ERROR);
    if (abort && *abort) return int32_t(CR_OK);
    bool readError = false;
    *bytesWritten = lib.Rip->NextChunk(buffer, readError);
    return int32_t(readError ? CR_ERROR : CR_OK);
  });
}

CDRIP_API int32_t CR_CloseRipper(void) {
  return Locked<int32_t>(CR_OK, [](Library& lib) {
    lib.Rip.reset();
    return int32_t(CR_OK);
  });
}

CDRIP_API int32_t CR_GetCDRipVersion(void) { return cdrip::kVersion; }

CDRIP_API int32_t CR_GetPercentCompleted(void) {
  return Locked<int32_t>(0, [](Library& lib) { return int32_t(lib.Rip ? lib.Rip->PercentDone() : 0); });
}

CDRIP_API int32_t CR_GetCurrentRipSector(void) {
  return Locked<int32_t>(0, [](Library& lib) { return lib.Rip ? static_cast<int32_t>(lib.Rip->NextSector()) : 0; });
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
