#include "PipelineTestKit.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <thread>

#include "classlib/FileStream.h"
#include "classlib/Program.h"

#ifdef _WIN32
#include "classlib/Unicode.h"
#else
#include <csignal>
#include <sys/resource.h>
#endif

namespace testkit {

TMemoryInput::TMemoryInput(std::vector<std::uint8_t> pcm, std::int32_t sampleRate, std::int32_t bitsPerSample,
                           std::int32_t channels, TComponent* owner)
    : TAudioInput(owner), pcm_(std::move(pcm)), rate_(sampleRate), bits_(bitsPerSample), channels_(channels)
{
}

void TMemoryInput::StartReading()
{
    if (startError_)
        throw EAudioException(*startError_);
    ++startCount;
    offset_ = 0;
    size_ = unknownSize_ ? -1 : static_cast<std::int32_t>(pcm_.size());
    position_ = 0;
    busy_ = true;
}

void TMemoryInput::StopReading()
{
    ++stopCount;
    busy_ = false;
    size_ = 0;
}

std::int32_t TMemoryInput::ReadData(void* buffer, std::int32_t bufferSize)
{
    ++readCount;
    std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(bufferSize), pcm_.size() - offset_);
    if (maxRead_ > 0)
        n = std::min<std::size_t>(n, static_cast<std::size_t>(maxRead_));
    if (failAt_ && n > 0 && static_cast<std::int64_t>(offset_ + n) > *failAt_)
        throw EAudioException("test input: read failed");
    if (n > 0)
        std::memcpy(buffer, pcm_.data() + offset_, n);
    offset_ += n;
    position_ += static_cast<std::int32_t>(n);
    return static_cast<std::int32_t>(n);
}

RunResult RunToEnd(TAudioOutput& output, std::chrono::milliseconds timeout)
{
    struct Shared {
        std::mutex mutex;
        std::condition_variable cv;
        RunResult result;
        bool ended = false;
    };
    auto shared = std::make_shared<Shared>();
    output.OnDone = [shared](TComponent*) {
        std::lock_guard lock(shared->mutex);
        shared->result.done = true;
        shared->ended = true;
        shared->cv.notify_all();
    };
    output.OnThreadException = [shared](TComponent*, const Exception& e) {
        std::lock_guard lock(shared->mutex);
        shared->result.error = e.Message();
        shared->ended = true;
        shared->cv.notify_all();
    };
    output.OnProgress = [shared, &output](TComponent*) {
        std::lock_guard lock(shared->mutex);
        ++shared->result.progressEvents;
        shared->result.progressValues.push_back(output.Progress());
    };
    output.Start();
    std::unique_lock lock(shared->mutex);
    shared->cv.wait_for(lock, timeout, [&] { return shared->ended; });
    RunResult result = shared->result;
    if (!shared->ended)
        result.error = "timed out waiting for the run to end";
    lock.unlock();
    // The worker raises OnDone before it parks; wait for that so the next run starts clean.
    WaitFor([&] { return output.Status() == osIdle; }, 10s);
    return result;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return condition();
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

std::string TestFolder(const std::string& testName)
{
    std::string folder = ProgramFolder() + "test-out" + PathSeparator() + testName + " Música 音楽" + PathSeparator();
#ifdef _WIN32
    std::filesystem::path path(Utf8ToWide(folder));
#else
    std::filesystem::path path(folder);
#endif
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return folder;
}

std::string FullDevice()
{
#ifdef _WIN32
    const std::string full = "Z:\\dev\\full";
#else
    const std::string full = "/dev/full";
#endif
    try {
        TFileStream probe(full, fmOpenReadWrite);
    } catch (const EStreamError&) {
        return {};
    }
    return full;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& fileName)
{
    TFileStream stream(fileName, fmOpenRead);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stream.Size()));
    stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return bytes;
}

void WriteFileBytes(const std::string& fileName, const std::vector<std::uint8_t>& bytes)
{
    TFileStream stream(fileName, fmCreate);
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

std::vector<std::uint8_t> MakeTestSignal(std::size_t frames, int channels, std::uint32_t seed)
{
    const double kTwoPi = 6.283185307179586;
    std::vector<std::uint8_t> out(frames * static_cast<std::size_t>(channels) * 2);
    std::uint32_t noise = seed * 2654435761u + 1;
    const double chord[] = {261.63, 329.63, 392.00};
    const double bass[] = {65.41, 87.31, 98.00, 73.42};
    for (std::size_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / 44100.0;
        double b = bass[(i / 22050) % 4];
        double env = 0.6 + 0.4 * std::sin(kTwoPi * 0.5 * t);
        for (int c = 0; c < channels; ++c) {
            double v = 0.5 * std::sin(kTwoPi * b * t);
            for (double f : chord)
                v += 0.18 * env * std::sin(kTwoPi * f * (1.0 + 0.002 * c) * t + c);
            noise = noise * 1664525u + 1013904223u;
            v += (static_cast<double>(noise >> 8) / 16777216.0 - 0.5) * 0.02;
            auto s = static_cast<std::int16_t>(std::lrint(std::clamp(v, -1.0, 1.0) * 20000.0));
            std::size_t at = (i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)) * 2;
            out[at] = static_cast<std::uint8_t>(s & 0xFF);
            out[at + 1] = static_cast<std::uint8_t>((s >> 8) & 0xFF);
        }
    }
    return out;
}

#ifndef _WIN32
int RunCommand(const std::string& command, std::string* output)
{
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        if (output)
            output->append(buffer, n);
    int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TFileSizeLimit::TFileSizeLimit(std::uint64_t bytes)
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    savedCurrent_ = limit.rlim_cur;
    // Without this the process would be killed by SIGXFSZ instead of seeing the error.
    savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

TFileSizeLimit::~TFileSizeLimit()
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(savedCurrent_);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, savedHandler_);
}
#endif

} // namespace testkit
