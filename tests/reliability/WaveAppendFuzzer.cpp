// libFuzzer entry for appending to an existing WAV file: the input is the file's bytes after
// one control byte. The header scan must stay inside the file; when the file is accepted,
// a second run appends PCM through the WAV output, and the result must again be a file the
// scan accepts, with the same format and the new audio counted in its data chunk.
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <cstdint>
#include <string>
#include <vector>

#include "common/PipelineTestKit.h"
#include "classlib/FileStream.h"
#include "outputs/AudioWave.h"
#include "outputs/WaveHeader.h"

namespace {

const std::string& ScratchFile()
{
    static const std::string path = "/dev/shm/kestrip-wavfuzz-" + std::to_string(getpid()) + ".wav";
    return path;
}

TWaveFileInfo Scan(const std::string& path)
{
    TFileStream stream(path, fmOpenRead);
    return ScanWaveHeader(stream);
}

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

struct TRunEnd {
    bool done = false;
    bool failed = false;
};

// Starts the output and waits for its OnDone or OnThreadException.
TRunEnd Run(TAudioOutput& output)
{
    std::mutex mutex;
    std::condition_variable ended;
    TRunEnd end;
    output.OnDone = [&](TComponent*) {
        std::lock_guard lock(mutex);
        end.done = true;
        ended.notify_all();
    };
    output.OnThreadException = [&](TComponent*, const Exception&) {
        std::lock_guard lock(mutex);
        end.failed = true;
        ended.notify_all();
    };
    output.Start();
    std::unique_lock lock(mutex);
    Check(ended.wait_for(lock, std::chrono::seconds(60), [&] { return end.done || end.failed; }));
    return end;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t control = data[0];
    const std::vector<std::uint8_t> file(data + 1, data + size);
    const std::string& path = ScratchFile();
    testkit::WriteFileBytes(path, file);

    const TWaveFileInfo info = Scan(path);
    const auto length = static_cast<std::int64_t>(file.size());
    if (info.Kind == wtUnsupported)
        return 0;
    Check(info.Kind == wtPCM || info.Kind == wtDVIADPCM);
    Check(info.DataStart >= 20 && info.DataStart <= length && info.DataStart <= kHeaderArea);
    Check(info.DataSizeOffset == info.DataStart - 4);
    if (info.Kind == wtDVIADPCM)
        Check(info.FactCountOffset >= 12 && info.FactCountOffset + 4 <= info.DataStart);

    // Append a little PCM in the file's own format (or, with bit 0 set, in a fixed one that
    // the file may refuse).
    const bool ownFormat = (control & 1) == 0;
    const std::int32_t channels = ownFormat ? info.Channels : 2;
    // IMA ADPCM files take 16-bit PCM.
    const std::int32_t bits = ownFormat && info.Kind == wtPCM ? info.BitsPerSample : 16;
    const std::int32_t rate = ownFormat ? info.SampleRate : 44100;
    const std::size_t pcmBytes = static_cast<std::size_t>(control >> 1) * 4;
    testkit::TMemoryInput input(testkit::MakeTestSignal(pcmBytes / 4, 2, control), rate, bits, channels);
    TWaveOut output;
    output.SetFileMode(foAppend);
    output.SetFileName(path);
    output.SetInput(&input);
    const TRunEnd result = Run(output);
    Check(input.stopCount == input.startCount);
    if (!result.done)
        return 0;

    const TWaveFileInfo after = Scan(path);
    Check(after.Kind == info.Kind && after.Channels == info.Channels && after.SampleRate == info.SampleRate);
    if (info.Kind == wtPCM) {
        // The data chunk holds the old audio (as much of it as the file had) and the new.
        const std::int64_t oldAudio = std::min<std::int64_t>(info.DataSize, length - info.DataStart);
        Check(after.DataSize == oldAudio + static_cast<std::int64_t>(pcmBytes));
    } else {
        Check(after.DataSize >= std::min<std::int64_t>(info.DataSize, length - info.DataStart));
    }
    TFileStream stream(path, fmOpenRead);
    Check(after.DataStart + static_cast<std::int64_t>(after.DataSize) <= stream.Size());
    return 0;
}
