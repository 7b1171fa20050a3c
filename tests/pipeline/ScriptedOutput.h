#pragma once
// An output whose steps are recorded and can be held at a gate, for testing the pipeline.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "pipeline/AudioClasses.h"

class TScriptedOutput : public TAudioOutput {
public:
    using TAudioOutput::TAudioOutput;
    ~TScriptedOutput() override
    {
        if (beforeShutdown)
            beforeShutdown();
        ShutdownWorker();
    }

    std::vector<std::string> Log() const
    {
        std::lock_guard lock(mutex_);
        return log_;
    }
    void Record(const std::string& entry)
    {
        std::lock_guard lock(mutex_);
        log_.push_back(entry);
        if (mirror)
            mirror->push_back(entry);
    }

    // While closed, a working step waits at the gate before reading.
    void CloseGate()
    {
        std::lock_guard lock(mutex_);
        gateOpen_ = false;
    }
    void OpenGate()
    {
        {
            std::lock_guard lock(mutex_);
            gateOpen_ = true;
        }
        cv_.notify_all();
    }
    int WaitingAtGate() const
    {
        std::lock_guard lock(mutex_);
        return waiting_;
    }

    // Also receives every entry; outlives the output (guarded by the output's lock while it lives).
    std::vector<std::string>* mirror = nullptr;
    std::function<void()> beforeShutdown;
    std::string startError;
    std::string finishError;
    std::int32_t readSize = 16;
    std::int64_t bytesRead = 0;

protected:
    void StartOutput() override
    {
        Record("start");
        if (!startError.empty())
            throw EAudioException(startError);
        Input()->StartReading();
    }

    bool OutputStep(bool abort) override
    {
        if (auto r = StepPrologue(abort)) {
            if (Writing())
                Record(abort ? "step(abort)" : "step");
            return *r;
        }
        Record("step");
        {
            std::unique_lock lock(mutex_);
            ++waiting_;
            cv_.wait(lock, [this] { return gateOpen_; });
            --waiting_;
        }
        std::vector<char> buffer(static_cast<std::size_t>(readSize));
        std::int32_t n;
        {
            TInputLockGuard guard(inputLock_);
            n = Input()->ReadData(buffer.data(), readSize);
        }
        bytesRead += n;
        return n > 0;
    }

    void FinishOutput() override
    {
        Record("finish");
        Input()->StopReading();
        if (!finishError.empty())
            throw EAudioException(finishError);
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<std::string> log_;
    bool gateOpen_ = true;
    int waiting_ = 0;
};
