#pragma once
// Shared helpers for pipeline and output tests: an in-memory input, running an output to
// the end, waiting for conditions, test folders and files, test signals.
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "pipeline/AudioClasses.h"

namespace testkit {

using namespace std::chrono_literals;

// Serves a PCM byte vector through the input contract. Counts its StartReading and
// StopReading calls; can report an unknown size, cap each read, or fail a read.
class TMemoryInput : public TAudioInput {
public:
    explicit TMemoryInput(std::vector<std::uint8_t> pcm, std::int32_t sampleRate = 44100,
                          std::int32_t bitsPerSample = 16, std::int32_t channels = 2, TComponent* owner = nullptr);

    std::int32_t BitsPerSample() override { return bits_; }
    std::int32_t ChannelCount() override { return channels_; }
    std::int32_t SampleRate() override { return rate_; }
    std::int32_t ReadData(void* buffer, std::int32_t bufferSize) override;
    void StartReading() override;
    void StopReading() override;

    void ReportUnknownSize() { unknownSize_ = true; }
    void SetMaxRead(std::int32_t bytes) { maxRead_ = bytes; }
    // The read that would deliver byte `offset` raises an EAudioException.
    void FailReadAt(std::int64_t offset) { failAt_ = offset; }
    void FailStartReading(std::string message) { startError_ = std::move(message); }

    int startCount = 0;
    int stopCount = 0;
    int readCount = 0;

private:
    std::vector<std::uint8_t> pcm_;
    std::int32_t rate_, bits_, channels_;
    std::size_t offset_ = 0;
    bool unknownSize_ = false;
    std::int32_t maxRead_ = 0;
    std::optional<std::int64_t> failAt_;
    std::optional<std::string> startError_;
};

struct RunResult {
    bool done = false;               // OnDone was raised
    std::optional<std::string> error; // OnThreadException's message
    int progressEvents = 0;
    std::vector<std::int32_t> progressValues;
};

// Starts the output and waits (up to `timeout`) until OnDone or OnThreadException.
// Replaces the output's event handlers.
RunResult RunToEnd(TAudioOutput& output, std::chrono::milliseconds timeout = 120s);

// Polls `condition` until it holds or `timeout` passes; returns its last value.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 30s);

// A fresh, empty folder for one test's files, inside <program folder>/test-out/, whose path
// contains non-ASCII characters. Ends with the path separator. Native tools can read it
// after a Windows test ran.
std::string TestFolder(const std::string& testName);

// A device that takes no bytes (/dev/full; under Wine on drive Z:), to stand for a full
// disk; empty when this machine has none.
std::string FullDevice();

std::vector<std::uint8_t> ReadFileBytes(const std::string& fileName);
void WriteFileBytes(const std::string& fileName, const std::vector<std::uint8_t>& bytes);

// Deterministic music-like 16-bit PCM (a chord with a moving bass and a little noise),
// interleaved, `frames` frames of `channels` channels, as little-endian bytes.
std::vector<std::uint8_t> MakeTestSignal(std::size_t frames, int channels = 2, std::uint32_t seed = 1);

#ifndef _WIN32
// Runs a shell command; returns its exit status and (optionally) its standard output.
int RunCommand(const std::string& command, std::string* output = nullptr);

// While it lives, writes past `bytes` into any file of this process fail (EFBIG), as on a
// full disk.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(std::uint64_t bytes);
    ~TFileSizeLimit();
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    std::uint64_t savedCurrent_ = 0;
    void (*savedHandler_)(int) = nullptr;
};
#endif

} // namespace testkit
