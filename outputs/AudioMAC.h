#pragma once
// APE output: hands the PCM of its Input to the Monkey's Audio compressor library, which
// creates and writes the file itself.
#include <vector>
#include <cstdint>
#include <memory>
#include <string>

#include "outputs/MACBinding.h"
#include "pipeline/AudioClasses.h"

// An error code of the compressor library, as text: "MACDll error: " + the code's text.
class EAPEException : public Exception {
public:
    explicit EAPEException(std::int32_t code);
    std::int32_t Code() const { return code_; }
    // The text of a library error code; "undefined (N)" for a code the library does not define.
    static std::string ErrorText(std::int32_t code);

private:
    std::int32_t code_;
};

// One compressor handle of the library.
class TAPECompress {
public:
    // Raises EAPEException when the library cannot create a compressor.
    explicit TAPECompress(const TMACApi& mac);
    ~TAPECompress();
    TAPECompress(const TAPECompress&) = delete;
    TAPECompress& operator=(const TAPECompress&) = delete;

    std::int32_t StartFile(const std::string& fileName, const TWaveFormatEx& waveFormat, std::int32_t maxAudioBytes,
                           std::int32_t compressionLevel, const void* headerData, std::int32_t headerBytes);
    std::uint8_t* LockBuffer(std::int32_t& bytesAvailable);
    std::int32_t UnlockBuffer(std::int32_t bytes);
    std::int32_t FinishFile(std::uint8_t* terminatingData, std::int32_t terminatingBytes,
                            std::int32_t wavTerminatingBytes);

    void* CompressorHandle = nullptr;
    std::int32_t ErrorCode = 0;

private:
    TMACApi mac_;
};

class TMACOut : public TAudioFileOut {
public:
    // Raises "MACDll.dll library could not be loaded." when `mac` is not loaded.
    explicit TMACOut(TComponent* owner = nullptr, const TMACApi& mac = MACLibrary().Api());
    ~TMACOut() override;

    std::int32_t CompressionLevel() const { return compressionLevel_; }
    // 1000, 2000, 3000 or 4000; anything else stores 2000.
    void SetCompressionLevel(std::int32_t value);
    // -1: not known in advance.
    std::int32_t MaxAudioBytes() const { return maxAudioBytes_; }
    void SetMaxAudioBytes(std::int32_t value) { maxAudioBytes_ = value; }

    static constexpr std::int32_t BufferSize = 65536;

protected:
    void StartOutput() override;
    bool OutputStep(bool abort) override;
    void FinishOutput() override;

private:
    TMACApi mac_;
    std::vector<std::uint8_t> PCMBuffer = std::vector<std::uint8_t>(BufferSize);
    std::unique_ptr<TAPECompress> Compressor;
    TWaveFormatEx WaveFormat{};
    bool EndOfInput = false;
    std::int32_t compressionLevel_ = 2000;
    std::int32_t maxAudioBytes_ = -1;
};
