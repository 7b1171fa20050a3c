#pragma once
// The CD reader of the pipeline: raw CD audio of a range of whole tracks, plus the drive and
// disc queries of the main window.
#include <cstdint>
#include <string>
#include <vector>

#include "pipeline/AudioClasses.h"

struct TTrackInfo {
    std::uint8_t Minutes = 0;
    std::uint8_t Seconds = 0;
    std::uint8_t Frames = 0;  // sectors, 75 per second
    std::uint8_t IsData = 0;  // 0 audio, 1 data
};

enum TDriveStatus { dsNoMedia = 0, dsReady = 1, dsPlaying = 2 };

class TCDIn : public TAudioInput {
public:
    static constexpr std::int32_t SectorBytes = 2352;
    static constexpr std::int32_t ChunkBytes = 75 * SectorBytes;  // one second of CD audio

    // Loads the drive layer from the program's folder; raises "cdrip.dll could not be loaded.".
    explicit TCDIn(TComponent* owner = nullptr);
    ~TCDIn() override;

    std::int32_t BitsPerSample() override { return 16; }
    std::int32_t ChannelCount() override { return 2; }
    std::int32_t SampleRate() override { return 44100; }
    std::int32_t ReadData(void* buffer, std::int32_t bufferSize) override;
    void StartReading() override;
    void StopReading() override;

    std::int32_t DriveCount();
    std::int32_t CurrentDrive() const { return currentDrive_; }
    // Values outside 0 .. DriveCount() - 1 are ignored.
    void SetCurrentDrive(std::int32_t value);
    std::string DriveName();
    TDriveStatus DriveStatus();
    // -1 when the table of contents cannot be read.
    std::int32_t TrackCount();
    TTrackInfo TrackInfo(std::int32_t track);

    std::int32_t StartTrack() const { return startTrack_; }
    void SetStartTrack(std::int32_t value);
    std::int32_t EndTrack() const { return endTrack_; }
    void SetEndTrack(std::int32_t value);

    void Eject();
    void CloseTray();

private:
    // Keeps the library's active drive on CurrentDrive while alive; nests.
    class TDriveUse {
    public:
        explicit TDriveUse(TCDIn& cd) : cd_(cd) { cd_.AcquireDrive(); }
        ~TDriveUse() { cd_.ReleaseDrive(); }
        TDriveUse(const TDriveUse&) = delete;
        TDriveUse& operator=(const TDriveUse&) = delete;

    private:
        TCDIn& cd_;
    };

    void AcquireDrive();
    void ReleaseDrive();
    void CheckNotBusy() const;
    // Sectors [first, end) of StartTrack .. EndTrack in the table of contents last read.
    void RangeSectors(std::int32_t& first, std::int32_t& end);

    std::int32_t driveUseCount_ = 0;
    std::int32_t currentDrive_ = 0;
    std::int32_t startTrack_ = 0;
    std::int32_t endTrack_ = 0;
    std::int32_t firstSector_ = 0;
    std::vector<std::uint8_t> chunkBuffer_;
    std::int32_t chunkBufferSize_ = ChunkBytes;
};
