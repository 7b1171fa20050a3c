// Swapping the input of an output whose run is finishing: the finishing run stops its own
// input once, and the new input is not left reading.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "common/PipelineTestKit.h"
#include "outputs/AudioWave.h"

namespace {

using namespace testkit;

// Serves a few bytes of silence; its StopReading can be held until the test lets it go.
class THeldInput : public TAudioInput {
public:
    explicit THeldInput(bool holdStop) : holdStop_(holdStop) {}

    std::int32_t BitsPerSample() override { return 16; }
    std::int32_t ChannelCount() override { return 2; }
    std::int32_t SampleRate() override { return 44100; }
    std::int32_t ReadData(void* buffer, std::int32_t bufferSize) override
    {
        const std::int32_t n = std::min(bufferSize, 4096 - position_.load());
        std::memset(buffer, 0, static_cast<std::size_t>(std::max(n, 0)));
        position_ += std::max(n, 0);
        return std::max(n, 0);
    }
    void StartReading() override
    {
        ++starts;
        position_ = 0;
        size_ = 4096;
        busy_ = true;
    }
    void StopReading() override
    {
        ++stops;
        if (holdStop_) {
            std::unique_lock lock(mutex_);
            stopping_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return released_; });
        }
        busy_ = false;
    }

    void WaitUntilStopping()
    {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(60), [this] { return stopping_; });
    }
    void Release()
    {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

    std::atomic<int> starts{0};
    std::atomic<int> stops{0};

private:
    bool holdStop_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    bool released_ = false;
};

} // namespace

TEST(InputSwap, ASwapWhileTheRunFinishesLeavesEachInputStoppedOnce)
{
    THeldInput first(true);
    THeldInput second(false);
    TWaveOut output;
    output.SetFileName(TestFolder("InputSwapWhileFinishing") + "swap.wav");
    output.SetInput(&first);
    std::atomic<bool> done{false};
    output.OnDone = [&](TComponent*) { done = true; };
    output.Start();
    // The worker has read everything and is stopping the first input.
    first.WaitUntilStopping();
    std::thread swapper([&] { output.SetInput(&second); });
    ASSERT_TRUE(WaitFor([&] { return second.stops.load() == 1; }, std::chrono::seconds(60)))
        << "the new input is started and, the run being over, stopped again";
    first.Release();
    swapper.join();
    ASSERT_TRUE(WaitFor([&] { return done.load(); }, std::chrono::seconds(60)));
    EXPECT_EQ(first.starts, 1);
    EXPECT_EQ(first.stops, 1) << "only the finishing run stops its input";
    EXPECT_EQ(second.starts, 1);
    EXPECT_EQ(second.stops, 1);
    EXPECT_FALSE(second.Busy()) << "the new input is not left reading";
    EXPECT_EQ(output.Input(), &second) << "and it is the input of the next run";
}
