#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "classlib/Component.h"
#include "classlib/Exception.h"
#include "classlib/FileStream.h"

// The error class of every pipeline component.
class EAudioException : public Exception {
public:
    using Exception::Exception;
};

enum TFileOutputMode { foRewrite = 0, foAppend = 1 };
enum TOutputStatus { osBusy = 0, osPaused = 1, osIdle = 2 };

using TOutputDoneEvent = std::function<void(TComponent* sender)>;
using TOutputProgressEvent = std::function<void(TComponent* sender)>;
using TThreadExceptionEvent = std::function<void(TComponent* sender, const Exception& e)>;

// A source of interleaved little-endian PCM, read on request.
class TAudioInput : public TComponent {
public:
    using TComponent::TComponent;

    virtual std::int32_t BitsPerSample() = 0;
    virtual std::int32_t ChannelCount() = 0;
    virtual std::int32_t SampleRate() = 0;
    // Copies up to bufferSize bytes into buffer; 0 means the input is exhausted.
    virtual std::int32_t ReadData(void* buffer, std::int32_t bufferSize) = 0;
    virtual void StartReading() = 0;
    virtual void StopReading() = 0;

    // Bytes delivered in the current read.
    std::int32_t Position() const { return position_.load(std::memory_order_relaxed); }
    // Bytes the current read will deliver; -1 when not known.
    std::int32_t Size() const { return size_.load(std::memory_order_relaxed); }
    bool Busy() const { return busy_.load(); }

protected:
    // Written by the reading thread, read by any thread asking for progress.
    std::atomic<std::int32_t> position_{0};
    std::atomic<std::int32_t> size_{0};
    std::atomic<bool> busy_{false};
    // Cursors of a subclass's own read buffer.
    std::int32_t bufStart_ = 0;
    std::int32_t bufEnd_ = 0;
};

// Spin flag guarding an Input reference against a swap in the middle of a read.
class TInputLock {
public:
    void Acquire();
    void Release() { flag_.store(0, std::memory_order_release); }
    void Reset() { Release(); }
    bool Taken() const { return flag_.load() != 0; }

private:
    std::atomic<std::uint8_t> flag_{0};
};

class TInputLockGuard {
public:
    explicit TInputLockGuard(TInputLock& lock) : lock_(lock) { lock_.Acquire(); }
    ~TInputLockGuard() { lock_.Release(); }
    TInputLockGuard(const TInputLockGuard&) = delete;
    TInputLockGuard& operator=(const TInputLockGuard&) = delete;

private:
    TInputLock& lock_;
};

// An input that reads another input.
class TAudioConverter : public TAudioInput {
public:
    using TAudioInput::TAudioInput;

    TAudioInput* Input() const { return input_.load(); }
    virtual void SetInput(TAudioInput* value);
    // Frees the lock of this converter and of every converter below it.
    void ReleaseInputLocks();

protected:
    void Notification(TComponent* component, TOperation operation) override;

    TInputLock inputLock_;

private:
    std::atomic<TAudioInput*> input_{nullptr};
};

class TAudioThread;

// A sink that pulls its Input on its own worker thread, one step at a time.
class TAudioOutput : public TComponent {
public:
    explicit TAudioOutput(TComponent* owner = nullptr);
    ~TAudioOutput() override;

    TAudioInput* Input() const { return input_.load(); }
    virtual void SetInput(TAudioInput* value);
    bool SuspendWhenIdle() const;
    void SetSuspendWhenIdle(bool value);

    TOutputDoneEvent OnDone;
    TOutputProgressEvent OnProgress;
    TThreadExceptionEvent OnThreadException;

    // Begins a run; raises "Component is buisy" / "Input is not assigned". A failure while
    // starting is reported through OnThreadException, not raised.
    void Start();
    // Ends the run at the worker's next step; the file is finished normally.
    void Stop();
    TOutputStatus Status() const;
    // Percentage of the input consumed; -1 when the input's size is unknown.
    std::int32_t Progress() const;
    bool Busy() const { return busy_.load(); }

protected:
    // One unit of work, on the worker. True to be called again.
    virtual bool OutputStep(bool abort) = 0;
    // Ends the file and stops the input, on the worker.
    virtual void FinishOutput() = 0;
    // Opens the file, starts the input, writes the head of the file; on the caller of Start.
    virtual void StartOutput() = 0;

    void CompleteRun();
    void HandleStepFailure(const Exception& e);

    // The part of OutputStep common to all outputs: a value to return at once, or nothing
    // when the step should do its work.
    std::optional<bool> StepPrologue(bool abort);
    bool Writing() const { return writing_.load(); }

    // Every concrete output calls this first in its destructor, so that a running worker
    // leaves its loop while the whole object still exists.
    void ShutdownWorker();

    void Notification(TComponent* component, TOperation operation) override;

    TInputLock inputLock_;
    std::int32_t lastProgress_ = 0;

private:
    friend class TAudioThread;

    std::atomic<bool> writing_{false};
    std::atomic<bool> busy_{false};
    std::atomic<TAudioInput*> input_{nullptr};
    std::unique_ptr<TAudioThread> worker_;
};

// An output that writes a file stream it creates in StartOutput and frees in FinishOutput.
class TAudioStreamedOutput : public TAudioOutput {
public:
    using TAudioOutput::TAudioOutput;

protected:
    std::unique_ptr<TStream> Stream;
};

class TAudioFileOut : public TAudioStreamedOutput {
public:
    using TAudioStreamedOutput::TAudioStreamedOutput;

    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string value) { fileName_ = std::move(value); }
    TFileOutputMode FileMode() const { return fileMode_; }
    // This base always writes a new file; outputs that can append override it.
    virtual void SetFileMode(TFileOutputMode value);

protected:
    // Raises "File name is not assigned." when FileName is empty.
    void CheckFileName() const;
    // Creates the file, or, in append mode when it exists, opens it for reading and writing
    // with exclusive sharing. Returns true when an existing file was opened.
    bool OpenFileStream();
    // Writes all bytes to Stream or raises an EAudioException naming the file.
    void WriteToStream(const void* data, std::int64_t count);
    [[noreturn]] void ThrowWriteError(std::int64_t written, std::int64_t count) const;

    TFileOutputMode fileMode_ = foRewrite;

private:
    std::string fileName_;
};
