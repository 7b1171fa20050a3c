// Start / stop / abort / input swap / destroy, cycle after cycle, over the five outputs with
// their real encoders and small inputs. Meant to run under ThreadSanitizer: any data race or
// lock-order problem stops the program. Every run must end with exactly one event, no wait
// may time out, and at the end no thread or file descriptor is left over.
// KESTRIP_STRESS_CYCLES sets the number of cycles (default 250; ./kestrip stress: 10,000).
#include <gtest/gtest.h>

#include <dirent.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "common/PipelineTestKit.h"
#include "tools/rip/Formats.h"

namespace {

using namespace testkit;

int CountEntries(const char* folder)
{
    DIR* dir = opendir(folder);
    if (!dir)
        return -1;
    int n = 0;
    while (const dirent* entry = readdir(dir))
        n += entry->d_name[0] != '.';
    closedir(dir);
    return n;
}

// The events of one run, counted.
struct TEvents {
    std::mutex mutex;
    std::condition_variable changed;
    int done = 0;
    int failed = 0;

    void Attach(TAudioOutput& output)
    {
        output.OnDone = [this](TComponent*) {
            std::lock_guard lock(mutex);
            ++done;
            changed.notify_all();
        };
        output.OnThreadException = [this](TComponent*, const Exception&) {
            std::lock_guard lock(mutex);
            ++failed;
            changed.notify_all();
        };
    }
    bool WaitForEnd()
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(60), [this] { return done + failed > 0; });
    }
};

enum class TAction { run, stop, abort, swap, destroy };
const char* const kActionNames[] = {"run to the end", "stop", "abort (read error)", "input swap", "destroy"};

} // namespace

TEST(OutputStress, StartStopAbortSwapDestroyOverTheFiveOutputs)
{
    const char* env = std::getenv("KESTRIP_STRESS_CYCLES");
    const int cycles = env && *env ? std::atoi(env) : 250;
    const std::string folder = TestFolder("OutputStress");
    const auto pcm = MakeTestSignal(6000);
    const auto other = MakeTestSignal(3000, 2, 5);
    const char* formats[] = {"Wav", "Ogg", "FLAC", "MP3", "Ape"};
    {
        // Run-time helpers (a sanitizer's background thread) start with the first thread;
        // the count is taken after one output has come and gone.
        auto warmUp = FindRipFormat("Wav")->Create(nullptr);
    }
    const int threadsBefore = CountEntries("/proc/self/task");
    const int fdsBefore = CountEntries("/proc/self/fd");
    int counts[5][5] = {};
    const auto start = std::chrono::steady_clock::now();

    for (int cycle = 0; cycle < cycles; ++cycle) {
        const int f = cycle % 5;
        auto action = static_cast<TAction>(cycle / 5 % 5);
        // The APE output reads without the input lock: its owner never swaps during a run.
        if (action == TAction::swap && f == 4)
            action = TAction::stop;
        SCOPED_TRACE(std::string(formats[f]) + ", cycle " + std::to_string(cycle) + ": " +
                     kActionNames[static_cast<int>(action)]);
        ++counts[f][static_cast<int>(action)];

        TMemoryInput input(pcm);
        TMemoryInput second(other);
        if (action == TAction::abort)
            input.FailReadAt(8192);
        TEvents events;
        {
            std::unique_ptr<TAudioFileOut> output = FindRipFormat(formats[f])->Create(nullptr);
            output->SetFileName(folder + "stress-" + std::to_string(f));
            output->SetInput(&input);
            events.Attach(*output);
            output->Start();
            switch (action) {
            case TAction::stop:
                output->Stop();
                break;
            case TAction::swap:
                output->SetInput(&second);
                break;
            case TAction::destroy:
                output.reset(); // the worker leaves its loop; the destructor waits for it
                break;
            default:
                break;
            }
            if (action != TAction::destroy) {
                ASSERT_TRUE(events.WaitForEnd()) << "the run did not end";
                ASSERT_TRUE(WaitFor([&] { return output->Status() == osIdle; }, std::chrono::seconds(30)));
            }
        }
        std::lock_guard lock(events.mutex);
        ASSERT_LE(events.done + events.failed, 1) << "one event per run";
        if (action == TAction::destroy)
            continue;
        ASSERT_EQ(events.done + events.failed, 1);
        ASSERT_EQ(events.failed, action == TAction::abort ? 1 : 0);
        ASSERT_EQ(input.startCount, input.stopCount);
        ASSERT_EQ(second.startCount, second.stopCount);
    }

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(WaitFor([&] { return CountEntries("/proc/self/task") == threadsBefore; }, std::chrono::seconds(30)))
        << "threads left over: " << CountEntries("/proc/self/task") - threadsBefore;
    EXPECT_EQ(CountEntries("/proc/self/fd"), fdsBefore) << "file descriptors left over";
    std::printf("stress: %d cycles in %.1f s (%.1f cycles/s); threads %d before, %d after; descriptors %d before, "
                "%d after\n",
                cycles, seconds, cycles / seconds, threadsBefore, CountEntries("/proc/self/task"), fdsBefore,
                CountEntries("/proc/self/fd"));
    std::printf("%-6s", "");
    for (const char* name : kActionNames)
        std::printf(" %18s", name);
    std::printf("\n");
    for (int f = 0; f < 5; ++f) {
        std::printf("%-6s", formats[f]);
        for (int a = 0; a < 5; ++a)
            std::printf(" %18d", counts[f][a]);
        std::printf("\n");
    }
}
