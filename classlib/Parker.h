#pragma once
#include <condition_variable>
#include <mutex>

// Lets one thread park until another wakes it. A wake-up given before the thread parks is
// kept, so a wake racing with the decision to park is never lost.
class TParker {
public:
    // Blocks until Wake or Interrupt. Returns true for a wake-up, false when interrupted.
    bool Park();
    void Wake();
    // Ends the current and every later Park at once (returns false).
    void Interrupt();
    // Forgets a wake-up given while nobody was parked.
    void DropWake();
    bool Parked() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    bool wakePending_ = false;
    bool interrupted_ = false;
    bool parked_ = false;
};
