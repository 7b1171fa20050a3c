#pragma once
// Ogg Vorbis file output: one logical Ogg stream per run, encoded by libvorbis.
#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "outputs/OggBinding.h"
#include "outputs/VorbisBinding.h"
#include "outputs/VorbisEncBinding.h"
#include "outputs/VorbisFileBinding.h"
#include "pipeline/AudioClasses.h"

enum TVorbisBitRate {
    brAutoSelect, br45, br48, br56, br64, br80, br96, br112,
    br128, br144, br160, br192, br224, br256, br320, br499
};

// Bits per second of a bit-rate choice; -1 for brAutoSelect.
std::int32_t VorbisBitRateValue(TVorbisBitRate rate);

// The four libraries the output needs. By default the program's own, loaded at start-up.
struct TVorbisLibraries {
    const TOggBinding* ogg = &OggLibrary();
    const TVorbisBinding* vorbis = &VorbisLibrary();
    const TVorbisFileBinding* vorbisfile = &VorbisFileLibrary();
    const TVorbisEncBinding* vorbisenc = &VorbisEncLibrary();
};

class TVorbisOut : public TAudioFileOut {
public:
    // Raises "<library> library could not be loaded." for the first library missing.
    explicit TVorbisOut(TComponent* owner = nullptr, TVorbisLibraries libraries = {});
    ~TVorbisOut() override;

    void SetFileMode(TFileOutputMode value) override;

    // Quality for quality mode (all bit rates brAutoSelect).
    float Compression() const { return compression_; }
    void SetCompression(float value) { compression_ = value; }

    // Lines "name=value"; each becomes one Vorbis comment. Emptied after every run.
    const std::vector<std::string>& Comments() const { return comments_; }
    void SetComments(const std::vector<std::string>& lines) { comments_ = lines; }

    // Serial number of the Ogg logical stream. Appending to a file that already has a stream
    // of that number gives the new stream the next number the file does not use.
    std::int32_t Serial() const { return serial_; }
    void SetSerial(std::int32_t value) { serial_ = value; }

    // The setters keep minimum <= nominal <= maximum; a write that would break it is ignored.
    // A nominal of brAutoSelect selects quality mode.
    TVorbisBitRate DesiredNominalBitrate() const { return nominalBitrate_; }
    void SetDesiredNominalBitrate(TVorbisBitRate value);
    TVorbisBitRate DesiredMaximumBitrate() const { return maximumBitrate_; }
    void SetDesiredMaximumBitrate(TVorbisBitRate value);
    TVorbisBitRate MinimumBitrate() const { return minimumBitrate_; }
    void SetMinimumBitrate(TVorbisBitRate value);

    // True once the page carrying the end-of-stream mark has been written.
    bool EndOfStream() const { return endOfStream_.load(); }

protected:
    void StartOutput() override;
    bool OutputStep(bool abort) override;
    void FinishOutput() override;

private:
    static constexpr std::int32_t kPCMBufferSize = 65536;

    void CheckLibraries() const;
    void SetUpEncoder(std::int32_t channels, std::int32_t sampleRate);
    void AddComments();
    std::string CommentValue(const std::string& name) const;
    void WriteHeaderPages();
    void SubmitPCM(std::int32_t bytes);
    void WriteAudioPages();
    void WritePage();
    void ClearEncoder();

    TVorbisLibraries libs_;
    std::array<std::uint8_t, kPCMBufferSize> pcmBuffer_{};
    // Bytes of an incomplete frame kept at the head of pcmBuffer_ for the next read.
    std::int32_t pendingBytes_ = 0;
    std::int32_t channels_ = 0;
    std::vector<std::string> comments_;
    std::int32_t serial_ = 0;
    TVorbisBitRate nominalBitrate_ = brAutoSelect;
    TVorbisBitRate maximumBitrate_ = brAutoSelect;
    TVorbisBitRate minimumBitrate_ = brAutoSelect;
    float compression_ = 0.2f;
    std::atomic<bool> endOfStream_{false};

    ogg_stream_state streamState_{};
    ogg_page page_{};
    ogg_packet packet_{};
    vorbis_info info_{};
    vorbis_comment comment_{};
    vorbis_dsp_state analysisState_{};
    vorbis_block block_{};
    std::array<ogg_packet, 3> headers_{};

    // Which library records hold state, so each is cleared exactly once.
    bool infoReady_ = false;
    bool commentReady_ = false;
    bool analysisReady_ = false;
    bool blockReady_ = false;
    bool streamReady_ = false;
};
