#pragma once
// MP3 file output: constant bit rate, encoded by LAME.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "outputs/LAMEBinding.h"
#include "pipeline/AudioClasses.h"

// Scoped: the Vorbis output has bit-rate names of its own (br128, ...).
enum class TMP3BitRate {
    br8, br16, br24, br32, br40, br48, br56, br64, br80,
    br96, br112, br128, br144, br160, br192, br224, br256, br320
};

// The kbit/s a bit-rate choice stands for.
std::int32_t MP3BitRateKbps(TMP3BitRate rate);

class TMP3Out : public TAudioFileOut {
public:
    // Raises "lame_enc.dll library could not be loaded." when the library is missing.
    // `lame` is the library to use; by default the program's own, held while the output lives.
    explicit TMP3Out(TComponent* owner = nullptr, std::shared_ptr<const TLAMEBinding> lame = HoldLAMELibrary());
    ~TMP3Out() override;

    TMP3BitRate BitRate() const { return bitRate_; }
    void SetBitRate(TMP3BitRate value) { bitRate_ = value; }

    // Handed to the encoder when a run ends; the encoder writes them as the file's ID3 tag.
    // Writes while a run is in progress are ignored, since the worker reads them at its end.
    const std::string& Id3TagTitle() const { return id3Title_; }
    void SetId3TagTitle(std::string value) { SetTagField(id3Title_, std::move(value)); }
    const std::string& Id3TagArtist() const { return id3Artist_; }
    void SetId3TagArtist(std::string value) { SetTagField(id3Artist_, std::move(value)); }
    const std::string& Id3TagAlbum() const { return id3Album_; }
    void SetId3TagAlbum(std::string value) { SetTagField(id3Album_, std::move(value)); }
    const std::string& Id3TagYear() const { return id3Year_; }
    void SetId3TagYear(std::string value) { SetTagField(id3Year_, std::move(value)); }
    const std::string& Id3TagTrack() const { return id3Track_; }
    void SetId3TagTrack(std::string value) { SetTagField(id3Track_, std::move(value)); }
    const std::string& Id3TagComment() const { return id3Comment_; }
    void SetId3TagComment(std::string value) { SetTagField(id3Comment_, std::move(value)); }

    // Worst-case encoder output for the 8,192 samples per channel of one mono read:
    // 1.25 x 8,192 + 7,200.
    static constexpr std::int32_t kEncodedBufferSize = 17440;
    static constexpr std::int32_t kPCMBufferSize = 16384;

protected:
    void StartOutput() override;
    bool OutputStep(bool abort) override;
    void FinishOutput() override;

private:
    void SetTagField(std::string& field, std::string value);
    void SetUpEncoder(TAudioInput& input);
    void HandTagsToEncoder();
    // Raises the encoder's error code for `call` when `result` is negative.
    void CheckEncoderResult(int result, const char* call) const;
    void CloseEncoder();
    void WriteTagFrame();

    std::shared_ptr<const TLAMEBinding> lame_;
    std::array<short, kPCMBufferSize / 2> pcmBuffer_{};
    TMP3BitRate bitRate_ = TMP3BitRate::br128;
    lame_global_flags* encoder_ = nullptr;
    std::unique_ptr<unsigned char[]> encodedBuffer_;
    std::int32_t encodedBufferSize_ = 0;
    bool inputReading_ = false;
    std::int64_t audioStart_ = 0; // where the encoder's first frame (its tag frame) lies
    std::string id3Title_, id3Artist_, id3Album_, id3Year_, id3Track_, id3Comment_;
};
