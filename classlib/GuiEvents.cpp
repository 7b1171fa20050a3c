#include "classlib/GuiEvents.h"

void HandleControlException(const std::exception& e); // the application shows it

namespace {
constexpr UINT WM_DELIVER = WM_APP + 0x31;
constexpr wchar_t kClassName[] = L"KestripGuiEvents";
} // namespace

TGuiEvents::TGuiEvents() : queue_(std::make_shared<Queue>())
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{sizeof wc};
    if (!GetClassInfoExW(instance, kClassName, &wc)) {
        wc = WNDCLASSEXW{sizeof wc};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = kClassName;
        RegisterClassExW(&wc);
    }
    window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!window_)
        throw Exception("Cannot create the event window");
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    queue_->window = window_;
}

TGuiEvents::~TGuiEvents()
{
    {
        std::lock_guard<std::mutex> guard(queue_->lock);
        queue_->closed = true;
        queue_->items.clear();
        queue_->window = nullptr;
    }
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

void TGuiEvents::Wake(Queue& q)
{
    // Called with the lock held. One wake-up message at a time: the window's queue cannot
    // overflow however many events wait, and none is lost when a post fails.
    if (q.wakePosted || !q.window)
        return;
    q.wakePosted = PostMessageW(q.window, WM_DELIVER, 0, 0) != FALSE;
}

void TGuiEvents::PostTo(Queue& q, std::function<void()> action)
{
    std::lock_guard<std::mutex> guard(q.lock);
    if (q.closed)
        return;
    q.items.push_back(std::move(action));
    Wake(q);
}

void TGuiEvents::Post(std::function<void()> action)
{
    PostTo(*queue_, std::move(action));
}

std::size_t TGuiEvents::Pending() const
{
    std::lock_guard<std::mutex> guard(queue_->lock);
    return queue_->items.size();
}

int TGuiEvents::Deliver()
{
    // Taken in one batch; an event posted while the batch runs waits for the next message.
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard<std::mutex> guard(queue_->lock);
        queue_->wakePosted = false;
        batch.swap(queue_->items);
    }
    int count = 0;
    std::shared_ptr<Queue> keep = queue_;
    while (!batch.empty()) {
        std::function<void()> action = std::move(batch.front());
        batch.pop_front();
        ++count;
        try {
            action();
        } catch (...) {
            // The rest still runs, in order, after the error has been reported.
            {
                std::lock_guard<std::mutex> guard(keep->lock);
                if (!keep->closed) {
                    while (!batch.empty()) {
                        keep->items.push_front(std::move(batch.back()));
                        batch.pop_back();
                    }
                    Wake(*keep);
                }
            }
            throw;
        }
        if (keep->closed)
            break; // the handler destroyed us
    }
    return count;
}

LRESULT CALLBACK TGuiEvents::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DELIVER) {
        if (auto* self = reinterpret_cast<TGuiEvents*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
            try {
                self->Deliver();
            } catch (const std::exception& e) {
                HandleControlException(e);
            } catch (...) {
            }
        }
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

std::function<void(TComponent*)> TGuiEvents::Marshal(std::function<void(TComponent*)> handler)
{
    std::weak_ptr<Queue> weak = queue_;
    return [weak, handler](TComponent* sender) {
        if (auto q = weak.lock())
            PostTo(*q, [handler, sender] { handler(sender); });
    };
}

std::function<void(TComponent*, const Exception&)> TGuiEvents::Marshal(
    std::function<void(TComponent*, const Exception&)> handler)
{
    std::weak_ptr<Queue> weak = queue_;
    return [weak, handler](TComponent* sender, const Exception& e) {
        if (auto q = weak.lock())
            PostTo(*q, [handler, sender, message = e.Message()] { handler(sender, Exception(message)); });
    };
}
