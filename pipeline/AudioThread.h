#pragma once
#include <atomic>
#include <functional>
#include <thread>

#include "classlib/Exception.h"
#include "classlib/Parker.h"

// The worker of one output: calls the output's step until it reports the end of a run,
// then completes the run and parks until the next Start wakes it.
class TAudioThread {
public:
    using StepFn = std::function<bool(bool abort)>;
    using CompleteFn = std::function<void()>;
    using FailureFn = std::function<void(const Exception&)>;

    // The thread starts parked.
    TAudioThread(StepFn outputStep, CompleteFn completeRun, FailureFn handleStepFailure);
    // Ends the loop (see Exit) if it is still running.
    ~TAudioThread();
    TAudioThread(const TAudioThread&) = delete;
    TAudioThread& operator=(const TAudioThread&) = delete;

    void Wake() { parker_.Wake(); }
    bool Parked() const { return parker_.Parked(); }

    // Makes the loop end and waits for it. A running worker takes one last step with
    // Abort set when finalStep is true; a parked worker just leaves.
    void Exit(bool finalStep);

    std::atomic<bool> SuspendWhenIdle{true};
    std::atomic<bool> StopRequest{false};
    std::atomic<bool> ExitRequest{false};

private:
    void Execute();
    // After a run ended: parks when asked to. False when the worker must leave.
    bool Idle();
    void ReportFailure(const Exception& e);

    StepFn outputStep_;
    CompleteFn completeRun_;
    FailureFn handleStepFailure_;
    std::atomic<bool> finalStep_{true};
    TParker parker_;
    std::thread thread_;
};
