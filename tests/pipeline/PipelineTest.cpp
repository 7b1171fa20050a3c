#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ScriptedOutput.h"
#include "common/PipelineTestKit.h"

using namespace testkit;

namespace {

std::vector<std::uint8_t> Bytes(std::size_t n) { return std::vector<std::uint8_t>(n, 7); }

} // namespace

TEST(Pipeline, RunCallsStartThenStepsThenFinishThenDone)
{
    TMemoryInput input(Bytes(64));
    TScriptedOutput output;
    output.SetInput(&input);
    RunResult result = RunToEnd(output);
    ASSERT_TRUE(result.done);
    EXPECT_FALSE(result.error);
    // 64 bytes in 16-byte reads: four working steps and the one that finds the end.
    EXPECT_EQ(output.Log(), (std::vector<std::string>{"start", "step", "step", "step", "step", "step", "finish"}));
    EXPECT_EQ(output.bytesRead, 64);
    EXPECT_EQ(input.startCount, 1);
    EXPECT_EQ(input.stopCount, 1);
    EXPECT_EQ(output.Status(), osIdle);
}

TEST(Pipeline, StartRefusesWhileBusyAndWithoutInput)
{
    TScriptedOutput output;
    try {
        output.Start();
        FAIL() << "Start without input must raise";
    } catch (const EAudioException& e) {
        EXPECT_EQ(e.Message(), "Input is not assigned");
    }
    EXPECT_TRUE(output.Log().empty()) << "nothing may be opened";

    TMemoryInput input(Bytes(1024));
    output.SetInput(&input);
    output.CloseGate();
    output.Start();
    ASSERT_TRUE(WaitFor([&] { return output.WaitingAtGate() == 1; }));
    try {
        output.Start();
        FAIL() << "second Start must raise";
    } catch (const EAudioException& e) {
        EXPECT_EQ(e.Message(), "Component is buisy");
    }
    EXPECT_EQ(output.Status(), osBusy);
    EXPECT_EQ(input.startCount, 1) << "the run in progress is untouched";
    std::atomic<bool> done{false};
    output.OnDone = [&](TComponent*) { done = true; };
    output.OpenGate();
    EXPECT_TRUE(WaitFor([&] { return done.load(); }));
}

TEST(Pipeline, FailingStartOutputReportsOnCallersThreadAndStaysIdle)
{
    TMemoryInput input(Bytes(64));
    TScriptedOutput output;
    output.SetInput(&input);
    output.startError = "File name is not assigned.";
    std::thread::id eventThread;
    std::string message;
    bool done = false;
    output.OnThreadException = [&](TComponent* sender, const Exception& e) {
        EXPECT_EQ(sender, &output);
        eventThread = std::this_thread::get_id();
        message = e.Message();
    };
    output.OnDone = [&](TComponent*) { done = true; };
    EXPECT_NO_THROW(output.Start());
    EXPECT_EQ(eventThread, std::this_thread::get_id()) << "raised synchronously, on the caller";
    EXPECT_EQ(message, "File name is not assigned.");
    EXPECT_EQ(output.Status(), osIdle);
    EXPECT_EQ(output.Log(), std::vector<std::string>{"start"}) << "FinishOutput must not run";
    EXPECT_FALSE(done);
}

TEST(Pipeline, StopTakesExactlyOneAbortStepThenFinishesAndIsDone)
{
    TMemoryInput input(Bytes(1 << 20));
    TScriptedOutput output;
    output.SetInput(&input);
    std::atomic<bool> done{false};
    output.OnDone = [&](TComponent*) {
        output.Record("done");
        done = true;
    };
    output.CloseGate();
    output.Start();
    ASSERT_TRUE(WaitFor([&] { return output.WaitingAtGate() == 1; }));
    output.Stop();
    output.OpenGate();
    ASSERT_TRUE(WaitFor([&] { return done.load(); }));
    ASSERT_TRUE(WaitFor([&] { return output.Status() == osIdle; }));
    EXPECT_EQ(output.Log(), (std::vector<std::string>{"start", "step", "step(abort)", "finish", "done"}));
    EXPECT_EQ(input.stopCount, 1);

    // The next run starts clean: the stop request does not carry over.
    RunResult second = RunToEnd(output);
    EXPECT_TRUE(second.done);
    EXPECT_EQ(output.bytesRead, 1 << 20 | 16);
}

TEST(Pipeline, StopWhileIdleIsClearedByTheNextStart)
{
    TMemoryInput input(Bytes(48));
    TScriptedOutput output;
    output.SetInput(&input);
    output.Stop();
    RunResult result = RunToEnd(output);
    EXPECT_TRUE(result.done);
    EXPECT_EQ(output.bytesRead, 48);
}

TEST(Pipeline, ErrorInsideAStepFinishesTheFileAndReportsOnTheWorker)
{
    TMemoryInput input(Bytes(64));
    input.FailReadAt(40);
    TScriptedOutput output;
    output.SetInput(&input);
    std::thread::id eventThread;
    output.OnThreadException = [&](TComponent*, const Exception&) { eventThread = std::this_thread::get_id(); };
    RunResult result = RunToEnd(output);
    EXPECT_FALSE(result.done);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(*result.error, "test input: read failed");
    EXPECT_EQ(output.Log().back(), "finish");
    EXPECT_EQ(input.stopCount, 1);
    EXPECT_EQ(output.Status(), osIdle);

    // The worker parked after the failure and serves the next run.
    TMemoryInput good(Bytes(32));
    output.SetInput(&good);
    EXPECT_TRUE(RunToEnd(output).done);
}

TEST(Pipeline, FailingFinishTakesTheFailurePathAndFinishesOnceMore)
{
    TMemoryInput input(Bytes(16));
    TScriptedOutput output;
    output.SetInput(&input);
    output.finishError = "disk full";
    RunResult result = RunToEnd(output);
    EXPECT_FALSE(result.done);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(*result.error, "disk full");
    auto log = output.Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "finish"), 2);
    EXPECT_EQ(output.Status(), osIdle);
}

TEST(Pipeline, InputSwappedDuringARunStartsTheNewBeforeStoppingTheOld)
{
    TMemoryInput first(Bytes(1 << 20));
    TMemoryInput second(Bytes(64));
    TScriptedOutput output;
    output.SetInput(&first);
    output.CloseGate();
    std::atomic<bool> done{false};
    output.OnDone = [&](TComponent*) { done = true; };
    output.Start();
    ASSERT_TRUE(WaitFor([&] { return output.WaitingAtGate() == 1; }));
    output.SetInput(&second);
    EXPECT_EQ(second.startCount, 1);
    EXPECT_EQ(first.stopCount, 1);
    EXPECT_EQ(output.Input(), &second);
    output.OpenGate();
    ASSERT_TRUE(WaitFor([&] { return done.load(); }));
    // The step held at the gate read from the new input, and so did every later step.
    EXPECT_EQ(first.readCount, 0);
    EXPECT_EQ(output.bytesRead, 64);
    EXPECT_EQ(second.stopCount, 1);
}

TEST(Pipeline, DestroyingTheInputClearsTheOutputsReference)
{
    TComponent form;
    auto* input = new TMemoryInput(Bytes(16), 44100, 16, 2, &form);
    auto* output = new TScriptedOutput(&form);
    output->SetInput(input);
    delete input;
    EXPECT_EQ(output->Input(), nullptr);

    // Across owners too.
    TComponent otherForm;
    auto* foreign = new TMemoryInput(Bytes(16), 44100, 16, 2, &otherForm);
    output->SetInput(foreign);
    delete foreign;
    EXPECT_EQ(output->Input(), nullptr);
}

TEST(Pipeline, DestroyingARunningOutputLeavesTheLoopWithOneAbortStep)
{
    // Large enough that the run cannot end on its own while destruction begins.
    TMemoryInput input(Bytes(16 << 20));
    std::vector<std::string> journal;
    auto output = std::make_unique<TScriptedOutput>();
    output->mirror = &journal;
    output->SetInput(&input);
    output->CloseGate();
    output->Start();
    ASSERT_TRUE(WaitFor([&] { return output->WaitingAtGate() == 1; }));
    TScriptedOutput* raw = output.get();
    output->beforeShutdown = [raw] { raw->OpenGate(); };
    output.reset();
    ASSERT_GE(journal.size(), 3u);
    EXPECT_EQ(journal.back(), "step(abort)");
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "step(abort)"), 1);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "finish"), 0) << "destruction does not finish the file";
    EXPECT_EQ(input.stopCount, 0);
}

TEST(Pipeline, DestroyingAnOutputWhoseWorkerSpinsReturns)
{
    TMemoryInput input(Bytes(16));
    auto output = std::make_unique<TScriptedOutput>();
    output->SetSuspendWhenIdle(false);
    output->SetInput(&input);
    EXPECT_TRUE(RunToEnd(*output).done);
    // The idle worker keeps calling OutputStep; destruction must still end it.
    auto before = output->Log().size();
    output.reset();
    EXPECT_EQ(before, 4u);
}

TEST(Pipeline, DestroyingNewAndParkedOutputsReturns)
{
    { TScriptedOutput never; }
    TMemoryInput input(Bytes(16));
    auto output = std::make_unique<TScriptedOutput>();
    output->SetInput(&input);
    EXPECT_TRUE(RunToEnd(*output).done);
    EXPECT_TRUE(WaitFor([&] { return output->Status() == osIdle; }));
    output.reset();
    SUCCEED();
}

TEST(Pipeline, BaseFileOutputKeepsRewriteMode)
{
    class TPlainFileOut : public TAudioFileOut {
    public:
        ~TPlainFileOut() override { ShutdownWorker(); }

    protected:
        bool OutputStep(bool) override { return false; }
        void FinishOutput() override {}
        void StartOutput() override {}
    } output;
    output.SetFileMode(foAppend);
    EXPECT_EQ(output.FileMode(), foRewrite);
}

TEST(Pipeline, ConverterRefusesItselfAndFollowsItsInput)
{
    class TPassThrough : public TAudioConverter {
    public:
        std::int32_t BitsPerSample() override { return Input()->BitsPerSample(); }
        std::int32_t ChannelCount() override { return Input()->ChannelCount(); }
        std::int32_t SampleRate() override { return Input()->SampleRate(); }
        std::int32_t ReadData(void* b, std::int32_t n) override
        {
            // Taken by hand: a failing read leaves it taken, as careless converters do.
            inputLock_.Acquire();
            std::int32_t got = Input()->ReadData(b, n);
            inputLock_.Release();
            return got;
        }
        void StartReading() override
        {
            Input()->StartReading();
            busy_ = true;
        }
        void StopReading() override
        {
            Input()->StopReading();
            busy_ = false;
        }
        bool LockTaken() const { return inputLock_.Taken(); }
    };
    TMemoryInput source(Bytes(64));
    TPassThrough inner, outer;
    inner.SetInput(&inner);
    EXPECT_EQ(inner.Input(), nullptr);
    inner.SetInput(&source);
    outer.SetInput(&inner);

    // A failed step releases the locks down the chain of converters.
    source.FailReadAt(0);
    TScriptedOutput output;
    output.SetInput(&outer);
    output.readSize = 16;
    RunResult result = RunToEnd(output);
    ASSERT_TRUE(result.error);
    EXPECT_FALSE(inner.LockTaken());
    EXPECT_FALSE(outer.LockTaken());
}
