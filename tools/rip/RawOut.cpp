#include "RawOut.h"

namespace {
constexpr std::int32_t kBufferBytes = 16384;
}

TRawOut::TRawOut(TComponent* owner) : TAudioFileOut(owner), buffer_(kBufferBytes) {}

TRawOut::~TRawOut() { ShutdownWorker(); }

void TRawOut::StartOutput()
{
    CheckFileName();
    OpenFileStream();
    try {
        Input()->StartReading();
    } catch (...) {
        Stream.reset();
        throw;
    }
}

bool TRawOut::OutputStep(bool abort)
{
    if (auto early = StepPrologue(abort))
        return *early;
    std::int32_t count = 0;
    {
        TInputLockGuard guard(inputLock_);
        count = Input()->ReadData(buffer_.data(), kBufferBytes);
    }
    if (count <= 0)
        return false;
    WriteToStream(buffer_.data(), count);
    return true;
}

void TRawOut::FinishOutput()
{
    Stream.reset();
    if (TAudioInput* input = Input())
        input->StopReading();
}
