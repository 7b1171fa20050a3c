#include "Parker.h"

bool TParker::Park()
{
    std::unique_lock lock(mutex_);
    parked_ = true;
    cv_.wait(lock, [this] { return wakePending_ || interrupted_; });
    parked_ = false;
    if (wakePending_) {
        wakePending_ = false;
        return true;
    }
    return false;
}

void TParker::Wake()
{
    {
        std::lock_guard lock(mutex_);
        wakePending_ = true;
    }
    cv_.notify_one();
}

void TParker::Interrupt()
{
    {
        std::lock_guard lock(mutex_);
        interrupted_ = true;
    }
    cv_.notify_one();
}

bool TParker::Parked() const
{
    std::lock_guard lock(mutex_);
    return parked_;
}

void TParker::DropWake()
{
    std::lock_guard lock(mutex_);
    wakePending_ = false;
}
