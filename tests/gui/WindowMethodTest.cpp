// A control's window method can be replaced and given back while messages flow: every
// message reaches the control exactly once and in order, whichever method is in front.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "classlib/controls/WinControl.h"
#include "classlib/forms/Form.h"
#include "guikit/GuiKit.h"

namespace {

constexpr UINT kNumbered = WM_APP + 7;

class TProbe : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<WPARAM> received;
    std::vector<UINT> messages;

protected:
    void WndProc(TMessage& m) override
    {
        if (m.Msg == kNumbered)
            received.push_back(m.WParam);
        messages.push_back(m.Msg);
        TCustomControl::WndProc(m);
    }
};

struct ProbeForm {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TProbe* probe = new TProbe(form.get());
    ProbeForm()
    {
        form->SetBounds(40, 40, 300, 200);
        probe->SetParent(form.get());
        probe->SetBounds(10, 10, 100, 50);
        form->Show();
    }
};

TEST(WindowMethod, SwappedBackAndForthWhileAWorkerPostsNothingIsLostOrDoubled)
{
    ProbeForm f;
    HWND window = f.probe->Handle();
    constexpr int kCount = 6000;
    std::thread worker([window] {
        for (int i = 0; i < kCount; ++i)
            while (!PostMessageW(window, kNumbered, static_cast<WPARAM>(i), 0))
                Sleep(1); // the queue is full for a moment
    });

    int throughHook = 0, swaps = 0;
    bool hooked = false;
    TWndMethod saved;
    auto swap = [&] {
        if (!hooked) {
            saved = f.probe->WindowProc();
            f.probe->SetWindowProc([&](TMessage& m) {
                if (m.Msg == kNumbered)
                    ++throughHook;
                saved(m);
            });
        } else {
            f.probe->SetWindowProc(saved);
        }
        hooked = !hooked;
        ++swaps;
    };
    // Swap between messages, a few messages at a time.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (static_cast<int>(f.probe->received.size()) < kCount && std::chrono::steady_clock::now() < deadline) {
        MSG msg;
        int n = 0;
        for (; n < 3 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++n)
            DispatchMessageW(&msg);
        swap();
        if (n == 0)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    const bool all = static_cast<int>(f.probe->received.size()) >= kCount;
    worker.join();
    f.probe->SetWindowProc(nullptr); // the hook's state ends with this test
    guikit::PumpMessages();

    ASSERT_TRUE(all) << "received " << f.probe->received.size() << " of " << kCount;
    ASSERT_EQ(f.probe->received.size(), static_cast<std::size_t>(kCount));
    for (int i = 0; i < kCount; ++i)
        ASSERT_EQ(f.probe->received[static_cast<std::size_t>(i)], static_cast<WPARAM>(i)) << "at " << i;
    EXPECT_GT(swaps, 100);
    EXPECT_GT(throughHook, 0);
    EXPECT_LT(throughHook, kCount);
}

TEST(WindowMethod, AHookCanRemoveItselfWhileHandlingAMessage)
{
    ProbeForm f;
    TWndMethod original = f.probe->WindowProc();
    int seen = 0;
    f.probe->SetWindowProc([&](TMessage& m) {
        if (m.Msg == kNumbered) {
            ++seen;
            f.probe->SetWindowProc(original); // gone from now on
        }
        original(m);
    });
    SendMessageW(f.probe->Handle(), kNumbered, 1, 0);
    SendMessageW(f.probe->Handle(), kNumbered, 2, 0);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(f.probe->received, (std::vector<WPARAM>{1, 2}));
}

TEST(WindowMethod, AHookCanKeepAMessageFromTheControl)
{
    ProbeForm f;
    TWndMethod original = f.probe->WindowProc();
    f.probe->SetWindowProc([&](TMessage& m) {
        if (m.Msg == kNumbered && m.WParam == 13) {
            m.Result = 42;
            return;
        }
        original(m);
    });
    EXPECT_EQ(SendMessageW(f.probe->Handle(), kNumbered, 13, 0), 42);
    SendMessageW(f.probe->Handle(), kNumbered, 14, 0);
    EXPECT_EQ(f.probe->received, (std::vector<WPARAM>{14}));
    f.probe->SetWindowProc(nullptr); // the control's own method again
    SendMessageW(f.probe->Handle(), kNumbered, 13, 0);
    EXPECT_EQ(f.probe->received, (std::vector<WPARAM>{14, 13}));
}

TEST(WindowMethod, AHookStaysInFrontWhenTheWindowIsMadeAgain)
{
    ProbeForm f;
    HWND before = f.probe->Handle();
    std::vector<UINT> hooked;
    TWndMethod original = f.probe->WindowProc();
    f.probe->SetWindowProc([&](TMessage& m) {
        hooked.push_back(m.Msg);
        original(m);
    });
    f.probe->RecreateWnd();
    HWND after = f.probe->Handle();
    EXPECT_NE(before, after);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_EQ(ControlFromHandle(after), f.probe);
    // The hook saw the old window go, the new one come, and was told last.
    EXPECT_NE(std::find(hooked.begin(), hooked.end(), static_cast<UINT>(WM_NCDESTROY)), hooked.end());
    ASSERT_FALSE(hooked.empty());
    EXPECT_EQ(hooked.back(), static_cast<UINT>(CM_RECREATEWND));
    SendMessageW(after, kNumbered, 5, 0);
    EXPECT_EQ(hooked.back(), kNumbered);
    EXPECT_EQ(f.probe->received.back(), 5u);
    f.probe->SetWindowProc(nullptr);
}

TEST(WindowMethod, ControlsAreFoundFromTheirWindowsThroughTheNamedProperty)
{
    ProbeForm f;
    char name[40];
    std::snprintf(name, sizeof name, "ControlOfs%.8X%.8X",
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr))),
                  static_cast<unsigned>(GetCurrentThreadId()));
    EXPECT_EQ(ControlAtomName(), name);
    EXPECT_EQ(GlobalFindAtomA(name), ControlAtom());
    // Anyone who knows the name finds the object, the way a skin engine does.
    EXPECT_EQ(GetPropA(f.probe->Handle(), name), static_cast<TControl*>(f.probe));
    EXPECT_EQ(GetPropA(f.form->Handle(), name), static_cast<TControl*>(f.form.get()));
    EXPECT_EQ(ControlFromHandle(f.probe->Handle()), f.probe);
    EXPECT_EQ(ControlFromHandle(nullptr), nullptr);
    EXPECT_EQ(ControlFromHandle(GetDesktopWindow()), nullptr);
    // After the window is gone the property is too.
    HWND old = f.probe->Handle();
    delete f.probe;
    EXPECT_FALSE(IsWindow(old));
}

} // namespace
