#pragma once
// Helpers of the WAV output tests: one run of a TWaveOut on in-memory PCM, and the hand-over
// of a written file to ffmpeg.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "common/PipelineTestKit.h"
#include "outputs/AudioWave.h"

namespace wavetest {

// Serves its first `freeReads` reads at once and holds every later one until Open(), so that
// a run can be looked at, or stopped, while it is under way.
class TGatedInput : public testkit::TMemoryInput {
public:
    TGatedInput(std::vector<std::uint8_t> pcm, int freeReads) : TMemoryInput(std::move(pcm)), freeReads_(freeReads) {}
    std::int32_t ReadData(void* buffer, std::int32_t bufferSize) override;
    void Open() { open_ = true; }
    // True once a read waits at the gate.
    bool Held() const { return held_; }

private:
    int freeReads_;
    int reads_ = 0;
    std::atomic<bool> open_{false};
    std::atomic<bool> held_{false};
};

// Event flags of a run started by hand.
struct TRunWatch {
    std::atomic<bool> done{false};
    std::atomic<bool> failed{false};
    void Attach(TAudioOutput& output);
    bool WaitForEnd();
};

// Runs `output` on `input` into `file` with `mode` and waits for the end.
testkit::RunResult RunInto(TWaveOut& output, testkit::TMemoryInput& input, const std::string& file,
                           TFileOutputMode mode = foRewrite);

// Leaves what ffmpeg must decode `wavFile` to beside it (WaveOutCheck.sh reads it), and the
// frame count ffprobe must find in its header (-1: as many as decoded). Natively the script
// runs at once and this returns its verdict and report; in the Windows build a follow-up
// test runs it on the folder and this returns true.
bool FfmpegDecodesTo(const std::string& wavFile, const std::vector<std::uint8_t>& expectedPcm,
                     const std::string& codec, int channels, int sampleRate, std::string* report,
                     std::int64_t announcedFrames = -1);

} // namespace wavetest
