#include "AudioThread.h"

TAudioThread::TAudioThread(StepFn outputStep, CompleteFn completeRun, FailureFn handleStepFailure)
    : outputStep_(std::move(outputStep)), completeRun_(std::move(completeRun)),
      handleStepFailure_(std::move(handleStepFailure)), thread_([this] { Execute(); })
{
}

TAudioThread::~TAudioThread() { Exit(false); }

void TAudioThread::Exit(bool finalStep)
{
    if (!thread_.joinable())
        return;
    finalStep_ = finalStep;
    ExitRequest = true;
    parker_.Interrupt();
    thread_.join();
}

bool TAudioThread::Idle()
{
    if (SuspendWhenIdle)
        return parker_.Park();
    parker_.DropWake(); // not parking: a wake given for the next run must not linger
    return true;
}

void TAudioThread::ReportFailure(const Exception& e)
{
    // A throwing handler must not take the worker down with it.
    try {
        handleStepFailure_(e);
    } catch (...) {
    }
}

void TAudioThread::Execute()
{
    if (!parker_.Park()) {
        ExitRequest = false;
        return;
    }
    bool leftParked = false;
    while (!ExitRequest) {
        bool runEnded = false;
        try {
            if (!outputStep_(StopRequest)) {
                StopRequest = false;
                runEnded = true;
                completeRun_();
            }
        } catch (const Exception& e) {
            StopRequest = false;
            runEnded = true;
            ReportFailure(e);
        } catch (const std::exception& e) {
            StopRequest = false;
            runEnded = true;
            ReportFailure(Exception(e.what()));
        }
        if (runEnded && !Idle()) {
            leftParked = true;
            break;
        }
    }
    if (!leftParked && finalStep_) {
        try {
            outputStep_(true);
        } catch (...) {
        }
    }
    ExitRequest = false;
}
