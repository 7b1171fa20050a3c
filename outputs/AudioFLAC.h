#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "outputs/FLACBinding.h"
#include "pipeline/AudioClasses.h"

// Writes the PCM of its Input as a FLAC file through libFLAC's stream encoder. The encoder
// seeks back through the file when it finishes, to complete the stream header.
class TFLACOut : public TAudioFileOut {
public:
    // Raises "libFLAC.dll library could not be loaded." when `flac` is not loaded.
    explicit TFLACOut(TComponent* owner = nullptr, const TFLACEncoderApi& flac = FLACLibrary().Api());
    ~TFLACOut() override;

    bool Verify() const { return verify_; }
    void SetVerify(bool value) { verify_ = value; }
    // Samples per channel in one FLAC frame, and in one step.
    std::uint16_t BlockSize() const { return blockSize_; }
    void SetBlockSize(std::uint16_t value) { blockSize_ = value; }
    // Exhaustive model search; turning it on also turns strict mid-side stereo on.
    bool BestModelSearch() const { return bestModelSearch_; }
    void SetBestModelSearch(bool value);
    bool EnableMidSideStereo() const { return enableMidSideStereo_; }
    void SetEnableMidSideStereo(bool value) { enableMidSideStereo_ = value; }
    // Turning it on also turns mid-side stereo on.
    bool EnableLooseMidSideStereo() const { return enableLooseMidSideStereo_; }
    void SetEnableLooseMidSideStereo(bool value);
    std::uint16_t MaxLPCOrder() const { return maxLPCOrder_; }
    void SetMaxLPCOrder(std::uint16_t value) { maxLPCOrder_ = value; }
    // Lowered for good when the input's sample width leaves less room.
    std::uint16_t QLPCoeffPrecision() const { return qlpCoeffPrecision_; }
    void SetQLPCoeffPrecision(std::uint16_t value) { qlpCoeffPrecision_ = value; }
    bool QLPCoeffPrecisionSearch() const { return qlpCoeffPrecisionSearch_; }
    void SetQLPCoeffPrecisionSearch(bool value) { qlpCoeffPrecisionSearch_ = value; }
    std::uint16_t MaxResidualPartitionOrder() const { return maxResidualPartitionOrder_; }
    void SetMaxResidualPartitionOrder(std::uint16_t value) { maxResidualPartitionOrder_ = value; }
    std::uint16_t MinResidualPartitionOrder() const { return minResidualPartitionOrder_; }
    void SetMinResidualPartitionOrder(std::uint16_t value) { minResidualPartitionOrder_ = value; }

protected:
    void StartOutput() override;
    bool OutputStep(bool abort) override;
    void FinishOutput() override;

private:
    struct TEncoderDeleter {
        decltype(&::FLAC__stream_encoder_delete) deleteEncoder;
        void operator()(FLAC__StreamEncoder* encoder) const { deleteEncoder(encoder); }
    };

    void ConfigureEncoder(TAudioInput& input);
    void InitializeEncoder();
    void NoteStreamError(const std::string& message) noexcept;

    static FLAC__StreamEncoderWriteStatus WriteCallback(const FLAC__StreamEncoder* encoder, const FLAC__byte buffer[],
                                                        size_t bytes, uint32_t samples, uint32_t currentFrame,
                                                        void* clientData);
    static FLAC__StreamEncoderSeekStatus SeekCallback(const FLAC__StreamEncoder* encoder, FLAC__uint64 offset,
                                                      void* clientData);
    static FLAC__StreamEncoderTellStatus TellCallback(const FLAC__StreamEncoder* encoder, FLAC__uint64* offset,
                                                      void* clientData);

    TFLACEncoderApi flac_;
    std::unique_ptr<FLAC__StreamEncoder, TEncoderDeleter> encoder_;
    std::vector<std::uint8_t> pcmBuffer_;
    std::vector<FLAC__int32> samples_;
    int bytesPerSample_ = 2;
    int channels_ = 2;
    bool endOfInput_ = false;
    // The first stream error a callback met; the callback itself can only return a status.
    std::string streamError_;

    bool verify_ = false;
    std::uint16_t blockSize_ = 4608;
    bool bestModelSearch_ = false;
    bool enableMidSideStereo_ = true;
    std::uint16_t maxLPCOrder_ = 0;
    bool enableLooseMidSideStereo_ = false;
    std::uint16_t qlpCoeffPrecision_ = 0;
    bool qlpCoeffPrecisionSearch_ = false;
    std::uint16_t maxResidualPartitionOrder_ = 0;
    std::uint16_t minResidualPartitionOrder_ = 0;
};
