#include <gtest/gtest.h>

#include <atomic>

#include "ScriptedOutput.h"
#include "common/PipelineTestKit.h"

using namespace testkit;

// A Start given while the worker is about to park must not be lost: OnDone runs on the
// worker just before it parks, so restarting from there hits that moment every time.
TEST(Worker, StartFromOnDoneIsNotLost)
{
    TMemoryInput input(std::vector<std::uint8_t>(64, 3));
    TScriptedOutput output;
    output.SetInput(&input);
    std::atomic<int> runs{0};
    const int wanted = 300;
    output.OnDone = [&](TComponent*) {
        if (++runs < wanted)
            output.Start();
    };
    output.Start();
    EXPECT_TRUE(WaitFor([&] { return runs.load() == wanted; }, std::chrono::seconds(60)))
        << "stalled after " << runs.load() << " runs";
    EXPECT_TRUE(WaitFor([&] { return output.Status() == osIdle; }));
    EXPECT_EQ(input.startCount, wanted);
    EXPECT_EQ(input.stopCount, wanted);
}

// The same race from the owner's side: restart as soon as the run is reported done.
TEST(Worker, BackToBackRunsFromTheOwnerAllComplete)
{
    TMemoryInput input(std::vector<std::uint8_t>(32, 3));
    TScriptedOutput output;
    output.SetInput(&input);
    std::atomic<int> done{0};
    output.OnDone = [&](TComponent*) { ++done; };
    for (int i = 1; i <= 300; ++i) {
        ASSERT_TRUE(WaitFor([&] { return !output.Busy(); }));
        output.Start();
        ASSERT_TRUE(WaitFor([&] { return done.load() == i; })) << "run " << i << " never ended";
    }
}

TEST(Worker, ParksWhenIdleByDefaultAndStatusFollowsTheRun)
{
    TMemoryInput input(std::vector<std::uint8_t>(1 << 16, 3));
    TScriptedOutput output;
    EXPECT_TRUE(output.SuspendWhenIdle());
    EXPECT_EQ(output.Status(), osIdle);
    output.SetInput(&input);
    output.CloseGate();
    output.Start();
    ASSERT_TRUE(WaitFor([&] { return output.WaitingAtGate() == 1; }));
    EXPECT_EQ(output.Status(), osBusy);
    EXPECT_TRUE(output.Busy());
    output.OpenGate();
    EXPECT_TRUE(WaitFor([&] { return output.Status() == osIdle; }));
}

TEST(Worker, ThrowingHandlersDoNotEndTheWorker)
{
    TMemoryInput input(std::vector<std::uint8_t>(32, 3));
    TScriptedOutput output;
    output.SetInput(&input);
    std::atomic<int> failures{0};
    output.OnDone = [](TComponent*) { throw EAudioException("handler failed"); };
    output.OnThreadException = [&](TComponent*, const Exception& e) {
        ++failures;
        EXPECT_EQ(e.Message(), "handler failed");
        throw EAudioException("and so did this one");
    };
    output.Start();
    ASSERT_TRUE(WaitFor([&] { return failures.load() == 1; }));
    ASSERT_TRUE(WaitFor([&] { return output.Status() == osIdle; }));
    output.OnDone = nullptr;
    output.OnThreadException = nullptr;
    EXPECT_TRUE(RunToEnd(output).done) << "the worker still serves runs";
}
