#include "AudioCDROM.h"

#include <algorithm>
#include <cstring>

#include "CDRip.h"
#include "classlib/Program.h"

namespace {
constexpr std::int32_t kMaxDrive = 255;
constexpr std::size_t kNameBytes = 255;
} // namespace

TCDIn::TCDIn(TComponent* owner) : TAudioInput(owner), chunkBuffer_(ChunkBytes)
{
    LoadCDRipLibrary(ProgramFolder());
    if (!CDRipLoaded())
        throw EAudioException("cdrip.dll could not be loaded.");
}

TCDIn::~TCDIn()
{
    if (Busy())
        CDRip().CR_CloseRipper();
}

void TCDIn::AcquireDrive()
{
    if (driveUseCount_ == 0)
        CDRip().CR_SetActiveCDROM(currentDrive_);
    ++driveUseCount_;
}

void TCDIn::ReleaseDrive()
{
    if (driveUseCount_ > 0)
        --driveUseCount_;
}

void TCDIn::CheckNotBusy() const
{
    if (Busy())
        throw EAudioException("The component is buisy");
}

std::int32_t TCDIn::DriveCount()
{
    TDriveUse use(*this);
    return CDRip().CR_GetNumCDROM();
}

void TCDIn::SetCurrentDrive(std::int32_t value)
{
    TDriveUse use(*this);
    std::int32_t count = CDRip().CR_GetNumCDROM();
    if (value >= 0 && value < count && value <= kMaxDrive)
        currentDrive_ = value;
}

std::string TCDIn::DriveName()
{
    TDriveUse use(*this);
    TCDROMParams params{};
    CDRip().CR_GetCDROMParameters(&params);
    const char* name = params.Name;
    return std::string(name, strnlen(name, kNameBytes));
}

TDriveStatus TCDIn::DriveStatus()
{
    TDriveUse use(*this);
    std::int32_t noMedium = 0;
    CDRip().CR_IsMediaLoaded(&noMedium);
    std::int32_t playing = CDRip().CR_IsAudioPlaying();
    if (noMedium != 0)
        return dsNoMedia;
    return playing != 0 ? dsPlaying : dsReady;
}

std::int32_t TCDIn::TrackCount()
{
    TDriveUse use(*this);
    if (CDRip().CR_ReadToc() != 0)
        return -1;
    return CDRip().CR_GetNumTocEntries();
}

TTrackInfo TCDIn::TrackInfo(std::int32_t track)
{
    TDriveUse use(*this);
    if (track < 1 || track > TrackCount())
        throw EAudioException("Track out of range.");
    TTocEntry e1 = CDRip().CR_GetTocEntry(track - 1);
    TTocEntry e2 = CDRip().CR_GetTocEntry(track);
    TTrackInfo info;
    info.IsData = e1.Flag == CR_FLAG_AUDIO ? 0 : 1;
    std::int64_t sectors = std::int64_t(e2.StartSector) - std::int64_t(e1.StartSector);
    std::int64_t seconds = sectors / 75;
    info.Minutes = static_cast<std::uint8_t>(seconds / 60);
    info.Seconds = static_cast<std::uint8_t>(seconds % 60);
    info.Frames = static_cast<std::uint8_t>(sectors % 75);
    return info;
}

void TCDIn::SetStartTrack(std::int32_t value)
{
    CheckNotBusy();
    startTrack_ = value;
}

void TCDIn::SetEndTrack(std::int32_t value)
{
    CheckNotBusy();
    endTrack_ = value;
}

void TCDIn::RangeSectors(std::int32_t& first, std::int32_t& end)
{
    first = static_cast<std::int32_t>(CDRip().CR_GetTocEntry(startTrack_ - 1).StartSector);
    end = static_cast<std::int32_t>(CDRip().CR_GetTocEntry(endTrack_).StartSector);
}

void TCDIn::StartReading()
{
    TDriveUse use(*this);
    CheckNotBusy();
    if (DriveStatus() == dsNoMedia)
        throw EAudioException("The drive is not ready");
    std::int32_t tracks = TrackCount();
    if (startTrack_ < 1 || startTrack_ > tracks)
        throw EAudioException("The start track out of range");
    if (TrackInfo(startTrack_).IsData == 1)
        throw EAudioException("Trying to rip a data track");
    // A range that ends before it starts would have a negative size.
    if (endTrack_ < 0 || endTrack_ > tracks || endTrack_ < startTrack_)
        throw EAudioException("The end track out of range");

    CDRip().CR_ReadToc();
    std::int32_t first = 0, end = 0;
    RangeSectors(first, end);
    size_ = (end - first) * SectorBytes;

    busy_ = true;
    bufStart_ = 1;
    bufEnd_ = 0;
    position_ = 0;
    firstSector_ = first;

    AcquireDrive(); // held until StopReading
    chunkBufferSize_ = ChunkBytes;
    CDRip().CR_OpenRipper(&chunkBufferSize_, first, end);
}

std::int32_t TCDIn::ReadData(void* buffer, std::int32_t bufferSize)
{
    if (!Busy())
        throw EAudioException("The Stream is not opened");
    if (bufferSize <= 0)
        return 0;
    if (bufStart_ > bufEnd_) {
        bufStart_ = 1;
        std::int32_t written = 0;
        std::int32_t abort = 0;
        CDRip().CR_RipChunk(chunkBuffer_.data(), &written, &abort);
        bufEnd_ = std::clamp<std::int32_t>(written, 0, ChunkBytes);
        // The library ends a range early only when it could not read on; handing that out as
        // the end of the track would lose the rest of it without a word.
        if (bufEnd_ == 0 && Position() < Size()) {
            std::int32_t sector = firstSector_ + Position() / SectorBytes;
            throw EAudioException("The CD could not be read at sector " + std::to_string(sector) + ".");
        }
    }
    std::int32_t n = std::min(bufferSize, bufEnd_ - bufStart_ + 1);
    std::memcpy(buffer, chunkBuffer_.data() + (bufStart_ - 1), static_cast<std::size_t>(n));
    bufStart_ += n;
    position_ += n;
    return n;
}

void TCDIn::StopReading()
{
    CDRip().CR_CloseRipper();
    ReleaseDrive();
    busy_ = false;
    size_ = 0;
}

void TCDIn::Eject()
{
    CheckNotBusy();
    CDRip().CR_EjectCD(-1);
}

void TCDIn::CloseTray() { CDRip().CR_EjectCD(0); }
