#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "WaveHeader.h"
#include "WaveImaAdpcm.h"
#include "pipeline/AudioClasses.h"

// Writes RIFF/WAVE files with its own code: linear PCM as the input delivers it, or IMA
// ADPCM encoded block by block. With foAppend it adds to an existing file of the same kind
// and format.
class TWaveOut : public TAudioFileOut {
public:
    explicit TWaveOut(TComponent* owner = nullptr);
    ~TWaveOut() override;

    TWavType WavType() const { return wavType_; }
    // Takes wtPCM and wtDVIADPCM only, and nothing during a run.
    void SetWavType(TWavType value);
    std::uint16_t BlockSize() const { return blockSize_; }
    // Bytes per IMA ADPCM block: a non-zero multiple of 4, not changed during a run.
    void SetBlockSize(std::uint16_t value);
    void SetFileMode(TFileOutputMode value) override;

protected:
    void StartOutput() override;
    bool OutputStep(bool abort) override;
    void FinishOutput() override;

private:
    // What one run needs to finish its file.
    struct TRun {
        TWavType Type = wtPCM;
        bool InputStarted = false;
        bool Appending = false; // added to an existing, non-empty file
        std::int32_t Channels = 0;
        std::int32_t BlockSize = 0;
        std::int32_t SamplesPerBlock = 0;
        // What a new file's header announces; -1 when the input's size is unknown (PCM).
        std::int64_t AnnouncedDataSize = 0;
        std::int64_t AnnouncedFrames = 0;
        // Where this run's audio starts in the file.
        std::int64_t AudioStart = 0;
        // IMA ADPCM: frames of input encoded and the blocks that carry them.
        std::int64_t FramesWritten = 0;
        std::int64_t AudioBlocks = 0;
        // Appending: what followed the existing data chunk (other chunks, padding); it is
        // put back after the new audio.
        std::vector<std::uint8_t> Trailer;
    };

    void StartPcm(std::int32_t sampleRate, std::int32_t bitsPerSample, std::int32_t channels);
    void StartIma(std::int32_t sampleRate, std::int32_t bitsPerSample, std::int32_t channels);
    void WriteHeader(const void* data, std::int64_t count);
    void AbandonStart() noexcept;
    void StopInput();

    bool PcmStep();
    bool ImaStep();
    // Reads from the input; the caller holds the input lock.
    std::int32_t ReadInputLocked(void* buffer, std::int32_t count);

    void PatchPcmHeader();
    void PatchImaHeader();
    std::int64_t FileLength();
    // Appending: moves to the end of the existing audio and keeps what follows it.
    std::int64_t SeekToAudioEnd();
    // Puts the kept trailer back at `audioEnd`; returns where the file now ends.
    std::int64_t RestoreTrailer(std::int64_t audioEnd);
    void WriteUInt32At(std::int64_t offset, std::int64_t value);

    bool endOfInput_ = false;
    std::array<std::uint8_t, 16384> pcmBuffer_{};
    TWavType wavType_ = wtPCM;
    TImaChannelState ima_[2];
    TWaveFileInfo existing_;
    std::uint16_t blockSize_ = 512;

    TRun run_;
    std::vector<std::uint8_t> imaInput_;
    std::vector<std::int16_t> imaFrames_;
    std::vector<std::uint8_t> imaBlock_;
};
