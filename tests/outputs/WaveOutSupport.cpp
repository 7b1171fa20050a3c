#include "WaveOutSupport.h"

namespace wavetest {

std::int32_t TGatedInput::ReadData(void* buffer, std::int32_t bufferSize)
{
    if (reads_++ >= freeReads_) {
        held_ = true;
        testkit::WaitFor([this] { return open_.load(); });
    }
    return TMemoryInput::ReadData(buffer, bufferSize);
}

void TRunWatch::Attach(TAudioOutput& output)
{
    output.OnDone = [this](TComponent*) { done = true; };
    output.OnThreadException = [this](TComponent*, const Exception&) { failed = true; };
}

bool TRunWatch::WaitForEnd()
{
    return testkit::WaitFor([this] { return done || failed; });
}

testkit::RunResult RunInto(TWaveOut& output, testkit::TMemoryInput& input, const std::string& file,
                           TFileOutputMode mode)
{
    output.SetInput(&input);
    output.SetFileName(file);
    output.SetFileMode(mode);
    return testkit::RunToEnd(output);
}

bool FfmpegDecodesTo(const std::string& wavFile, const std::vector<std::uint8_t>& expectedPcm,
                     const std::string& codec, int channels, int sampleRate, std::string* report,
                     std::int64_t announcedFrames)
{
    testkit::WriteFileBytes(wavFile + ".expected.raw", expectedPcm);
    if (announcedFrames < 0)
        announcedFrames = static_cast<std::int64_t>(expectedPcm.size()) / 2 / channels;
    const std::string expect = codec + " " + std::to_string(channels) + " " + std::to_string(sampleRate) + " " +
                               std::to_string(announcedFrames) + "\n";
    testkit::WriteFileBytes(wavFile + ".expect", std::vector<std::uint8_t>(expect.begin(), expect.end()));
#ifdef _WIN32
    (void)report;
    return true;
#else
    return testkit::RunCommand("bash '" WAVE_CHECK_SCRIPT "' '" + wavFile + "' 2>&1", report) == 0;
#endif
}

} // namespace wavetest
