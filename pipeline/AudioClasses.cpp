#include "AudioClasses.h"

#include <cmath>
#include <thread>

#include "AudioThread.h"
#include "classlib/Exception.h"

// --- TInputLock ---

void TInputLock::Acquire()
{
    while (flag_.exchange(1, std::memory_order_acquire) != 0)
        std::this_thread::yield();
}

// --- TAudioConverter ---

void TAudioConverter::SetInput(TAudioInput* value)
{
    if (value == this)
        return;
    if (!Busy() || !value) {
        input_ = value;
        if (value)
            value->FreeNotification(this);
        return;
    }
    value->StartReading();
    TAudioInput* old = input_.load();
    {
        TInputLockGuard guard(inputLock_);
        input_ = value;
    }
    value->FreeNotification(this);
    if (old)
        old->StopReading();
}

void TAudioConverter::ReleaseInputLocks()
{
    inputLock_.Reset();
    if (auto* next = dynamic_cast<TAudioConverter*>(Input()))
        next->ReleaseInputLocks();
}

void TAudioConverter::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && component == Input())
        SetInput(nullptr);
    TAudioInput::Notification(component, operation);
}

// --- TAudioOutput ---

TAudioOutput::TAudioOutput(TComponent* owner) : TComponent(owner)
{
    worker_ = std::make_unique<TAudioThread>([this](bool abort) { return OutputStep(abort); },
                                             [this] { CompleteRun(); },
                                             [this](const Exception& e) { HandleStepFailure(e); });
    worker_->SuspendWhenIdle = true;
}

TAudioOutput::~TAudioOutput()
{
    // The derived part is gone by now: the worker may leave but must not step again.
    worker_->Exit(false);
}

void TAudioOutput::ShutdownWorker() { worker_->Exit(true); }

bool TAudioOutput::SuspendWhenIdle() const { return worker_->SuspendWhenIdle; }

void TAudioOutput::SetSuspendWhenIdle(bool value) { worker_->SuspendWhenIdle = value; }

void TAudioOutput::SetInput(TAudioInput* value)
{
    if (!Busy() || !value) {
        // Clearing the input of a busy output happens only when the input is being
        // destroyed; its reading cannot be stopped any more.
        TInputLockGuard guard(inputLock_);
        input_ = value;
    } else {
        value->StartReading();
        TAudioInput* old = nullptr;
        bool swapped = false;
        {
            TInputLockGuard guard(inputLock_);
            // A run that is finishing stops its own input: swapping then would stop that
            // input a second time, from this thread, and leave the new one reading.
            swapped = Writing();
            if (swapped) {
                old = input_.load();
                input_ = value;
            }
        }
        if (swapped) {
            if (old)
                old->StopReading();
        } else {
            // The new input takes over once the finishing run is done with the old one.
            value->StopReading();
            while (Busy())
                std::this_thread::yield();
            TInputLockGuard guard(inputLock_);
            input_ = value;
        }
    }
    if (value)
        value->FreeNotification(this);
}

void TAudioOutput::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && component == Input())
        SetInput(nullptr);
    TComponent::Notification(component, operation);
}

void TAudioOutput::Start()
{
    if (Busy())
        throw EAudioException("Component is buisy");
    if (!Input())
        throw EAudioException("Input is not assigned");
    inputLock_.Reset();
    try {
        StartOutput();
    } catch (const Exception& e) {
        HandleStepFailure(e);
        return;
    } catch (const std::exception& e) {
        HandleStepFailure(Exception(e.what()));
        return;
    }
    busy_ = true;
    worker_->StopRequest = false;
    writing_ = true;
    worker_->Wake();
}

void TAudioOutput::Stop() { worker_->StopRequest = true; }

TOutputStatus TAudioOutput::Status() const
{
    if (!Busy())
        return osIdle;
    return worker_->Parked() ? osPaused : osBusy;
}

std::int32_t TAudioOutput::Progress() const
{
    TAudioInput* input = Input();
    if (!input)
        return 0;
    const std::int32_t size = input->Size();
    if (size == -1)
        return -1;
    if (size == 0)
        return 0;
    // Rounded to nearest, halves to even (the default floating-point rounding mode).
    return static_cast<std::int32_t>(std::lrint(static_cast<double>(input->Position()) / size * 100.0));
}

std::optional<bool> TAudioOutput::StepPrologue(bool abort)
{
    if (!Writing())
        return true;
    const std::int32_t progress = Progress();
    if (progress != lastProgress_) {
        lastProgress_ = progress;
        if (OnProgress)
            OnProgress(this);
    }
    if (abort)
        return false;
    return std::nullopt;
}

void TAudioOutput::CompleteRun()
{
    if (!Busy())
        return;
    {
        // From here on a swap of the input no longer joins the run (see SetInput).
        TInputLockGuard guard(inputLock_);
        writing_ = false;
    }
    FinishOutput();
    busy_ = false;
    if (OnDone)
        OnDone(this);
}

void TAudioOutput::HandleStepFailure(const Exception& e)
{
    inputLock_.Reset();
    {
        TInputLockGuard guard(inputLock_);
        writing_ = false;
    }
    if (Status() != osIdle) {
        if (auto* converter = dynamic_cast<TAudioConverter*>(Input())) {
            try {
                converter->ReleaseInputLocks();
            } catch (...) {
            }
        }
        try {
            FinishOutput();
        } catch (...) {
        }
    }
    writing_ = false;
    busy_ = false;
    if (OnThreadException)
        OnThreadException(this, e);
}

// --- TAudioFileOut ---

void TAudioFileOut::SetFileMode(TFileOutputMode) { fileMode_ = foRewrite; }

void TAudioFileOut::CheckFileName() const
{
    if (fileName_.empty())
        throw EAudioException("File name is not assigned.");
}

bool TAudioFileOut::OpenFileStream()
{
    if (fileMode_ == foAppend && FileExists(fileName_)) {
        Stream = std::make_unique<TFileStream>(fileName_, fmOpenReadWrite | fmShareExclusive);
        return true;
    }
    Stream = std::make_unique<TFileStream>(fileName_, fmCreate);
    return false;
}

void TAudioFileOut::WriteToStream(const void* data, std::int64_t count)
{
    if (count <= 0)
        return;
    const std::int64_t written = Stream->Write(data, count);
    if (written != count)
        ThrowWriteError(written, count);
}

void TAudioFileOut::ThrowWriteError(std::int64_t written, std::int64_t count) const
{
    throw EAudioException(FormatText("Cannot write to file \"%s\" (%s of %s bytes written). %s",
                                     {fileName_, std::to_string(written), std::to_string(count),
                                      LastSystemErrorText()}));
}
