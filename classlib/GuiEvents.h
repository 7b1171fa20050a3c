#pragma once
// Carrying events raised on worker threads over to the GUI thread.
//
//   TGuiEvents events;                       // made on the GUI thread
//   output->OnProgress = events.Marshal(TNotifyEvent([this](TComponent* s) { ... }));
//
// Every posted event runs exactly once on the thread that made the TGuiEvents, in the order
// it was posted (so the events of one sender keep their order), whenever that thread handles
// messages. Events posted after the TGuiEvents is gone are dropped.
#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "classlib/Component.h"
#include "classlib/Exception.h"

class TGuiEvents {
public:
    TGuiEvents();
    ~TGuiEvents();
    TGuiEvents(const TGuiEvents&) = delete;
    TGuiEvents& operator=(const TGuiEvents&) = delete;

    // Any thread. Runs on the GUI thread, called from there too (then after those already queued).
    void Post(std::function<void()> action);
    // Runs everything queued now (GUI thread only); returns how many ran.
    int Deliver();
    // Events waiting.
    std::size_t Pending() const;
    HWND Handle() const { return window_; }

    // Event adapters: a handler for the worker that posts the call to the GUI thread.
    std::function<void(TComponent*)> Marshal(std::function<void(TComponent*)> handler);
    // The exception is copied as its message text.
    std::function<void(TComponent*, const Exception&)> Marshal(std::function<void(TComponent*, const Exception&)> handler);

private:
    struct Queue {
        std::mutex lock;
        std::deque<std::function<void()>> items;
        HWND window = nullptr;
        bool wakePosted = false;
        bool closed = false;
    };
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    static void Wake(Queue& queue);
    static void PostTo(Queue& queue, std::function<void()> action);

    std::shared_ptr<Queue> queue_;
    HWND window_ = nullptr;
};
