#include "SystemDrives.h"

#include <windows.h>
#include <winioctl.h>
#include <ntddcdrm.h>

#include <algorithm>
#include <cstring>

namespace cdrip {
namespace {

// Many drivers refuse raw reads longer than 64 KiB.
constexpr int kSectorsPerRequest = 24;
constexpr uint32_t kLeadInSectors = 150;

class Handle {
public:
  explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  Handle& operator=(Handle&& other) noexcept {
    if (this != &other) {
      Close();
      h_ = other.h_;
      other.h_ = INVALID_HANDLE_VALUE;
    }
    return *this;
  }
  explicit operator bool() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }
  void Close() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

private:
  HANDLE h_;
};

class SystemDrive : public Drive {
public:
  explicit SystemDrive(wchar_t letter) : letter_(letter) { name_ = DescribeDrive(); }
  ~SystemDrive() override {
    if (bounce_) VirtualFree(bounce_, 0, MEM_RELEASE);
  }

  std::string Name() const override { return name_; }

  bool MediaLoaded() override {
    Handle h = Open(FILE_READ_ATTRIBUTES);
    DWORD bytes = 0;
    return h && DeviceIoControl(h.Get(), IOCTL_STORAGE_CHECK_VERIFY2, nullptr, 0, nullptr, 0,
                                &bytes, nullptr);
  }

  bool AudioPlaying() override {
    Handle h = Open(GENERIC_READ);
    if (!h) return false;
    CDROM_SUB_Q_DATA_FORMAT format{IOCTL_CDROM_CURRENT_POSITION, 0};
    SUB_Q_CHANNEL_DATA data{};
    DWORD bytes = 0;
    if (!DeviceIoControl(h.Get(), IOCTL_CDROM_READ_Q_CHANNEL, &format, sizeof format, &data,
                         sizeof data, &bytes, nullptr))
      return false;
    return data.CurrentPosition.Header.AudioStatus == AUDIO_STATUS_IN_PROGRESS;
  }

  std::optional<Toc> ReadToc() override {
    Handle h = Open(GENERIC_READ);
    if (!h) return std::nullopt;
    CDROM_TOC raw{};
    DWORD bytes = 0;
    if (!DeviceIoControl(h.Get(), IOCTL_CDROM_READ_TOC, nullptr, 0, &raw, sizeof raw, &bytes,
                         nullptr))
      return std::nullopt;
    if (raw.FirstTrack == 0 || raw.LastTrack < raw.FirstTrack) return std::nullopt;
    int entries = raw.LastTrack - raw.FirstTrack + 2;  // with the lead-out
    if (entries > MAXIMUM_NUMBER_TRACKS) return std::nullopt;
    Toc toc;
    for (int i = 0; i < entries; ++i) {
      const TRACK_DATA& t = raw.TrackData[i];
      uint32_t msf = (uint32_t(t.Address[1]) * 60 + t.Address[2]) * 75 + t.Address[3];
      uint32_t lba = msf >= kLeadInSectors ? msf - kLeadInSectors : 0;
      toc.Entries.push_back({lba, static_cast<uint8_t>((t.Adr << 4) | t.Control),
                             t.TrackNumber});
    }
    return toc;
  }

  int ReadSectors(uint32_t lba, int count, uint8_t* out) override {
    if (!reader_) reader_ = Open(GENERIC_READ);
    if (!reader_) return 0;
    if (!bounce_) {
      bounce_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, kSectorsPerRequest * kSectorBytes,
                                                   MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
      if (!bounce_) return 0;
    }
    int done = 0;
    while (done < count) {
      int n = std::min(kSectorsPerRequest, count - done);
      RAW_READ_INFO info{};
      info.DiskOffset.QuadPart = LONGLONG(lba + uint32_t(done)) * 2048;
      info.SectorCount = static_cast<ULONG>(n);
      info.TrackMode = CDDA;
      DWORD bytes = 0;
      if (!DeviceIoControl(reader_.Get(), IOCTL_CDROM_RAW_READ, &info, sizeof info, bounce_,
                           DWORD(n) * kSectorBytes, &bytes, nullptr))
        break;
      int got = static_cast<int>(bytes / kSectorBytes);
      std::memcpy(out + size_t(done) * kSectorBytes, bounce_, size_t(got) * kSectorBytes);
      done += got;
      if (got < n) break;
    }
    return done;
  }

  void EndReading() override { reader_.Close(); }

  bool Eject(bool open) override {
    reader_.Close();
    Handle h = Open(GENERIC_READ);
    DWORD bytes = 0;
    return h && DeviceIoControl(h.Get(), open ? IOCTL_STORAGE_EJECT_MEDIA : IOCTL_STORAGE_LOAD_MEDIA,
                                nullptr, 0, nullptr, 0, &bytes, nullptr);
  }

private:
  Handle Open(DWORD access) const {
    wchar_t device[] = L"\\\\.\\X:";
    device[4] = letter_;
    return Handle(CreateFileW(device, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr));
  }

  // "D: VENDOR PRODUCT" where the drive tells its make, otherwise "D:".
  std::string DescribeDrive() const {
    std::string name(1, static_cast<char>(letter_));
    name += ':';
    Handle h = Open(0);
    if (!h) return name;
    STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    alignas(8) char buffer[1024] = {};
    DWORD bytes = 0;
    if (!DeviceIoControl(h.Get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, buffer,
                         sizeof buffer - 1, &bytes, nullptr))
      return name;
    auto* descriptor = reinterpret_cast<const STORAGE_DEVICE_DESCRIPTOR*>(buffer);
    for (DWORD offset : {descriptor->VendorIdOffset, descriptor->ProductIdOffset}) {
      if (offset == 0 || offset >= bytes) continue;
      std::string part(buffer + offset, strnlen(buffer + offset, bytes - offset));
      while (!part.empty() && part.back() == ' ') part.pop_back();
      while (!part.empty() && part.front() == ' ') part.erase(part.begin());
      bool printable = std::all_of(part.begin(), part.end(),
                                   [](char c) { return c >= 0x20 && c < 0x7F; });
      if (!part.empty() && printable) name += ' ' + part;
    }
    return name;
  }

  wchar_t letter_;
  std::string name_;
  Handle reader_;
  uint8_t* bounce_ = nullptr;
};

}  // namespace

std::vector<std::unique_ptr<Drive>> FindSystemDrives() {
  std::vector<std::unique_ptr<Drive>> drives;
  DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i))) continue;
    wchar_t root[] = L"X:\\";
    root[0] = static_cast<wchar_t>(L'A' + i);
    if (GetDriveTypeW(root) == DRIVE_CDROM)
      drives.push_back(std::make_unique<SystemDrive>(root[0]));
  }
  return drives;
}

}  // namespace cdrip
