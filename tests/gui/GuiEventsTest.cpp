// Events raised on worker threads arrive on the GUI thread, each once, in order per sender.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "classlib/GuiEvents.h"
#include "guikit/GuiKit.h"

namespace {

TEST(GuiEvents, TenThousandEventsFromTwoWorkersArriveInOrderPerSender)
{
    TGuiEvents events;
    constexpr int kPerSender = 5000;
    const DWORD guiThread = GetCurrentThreadId();
    std::vector<int> seen[2];
    int wrongThread = 0;
    TComponent senderA(nullptr), senderB(nullptr);
    TComponent* senders[2] = {&senderA, &senderB};
    std::vector<std::thread> workers;
    for (int s = 0; s < 2; ++s)
        workers.emplace_back([&, s] {
            for (int i = 0; i < kPerSender; ++i)
                events.Post([&, s, i] {
                    if (GetCurrentThreadId() != guiThread)
                        ++wrongThread;
                    seen[s].push_back(i);
                });
        });
    const bool all = guikit::WaitUntil(
        [&] { return seen[0].size() + seen[1].size() >= 2u * kPerSender; });
    for (auto& w : workers)
        w.join();
    guikit::PumpMessages();
    ASSERT_TRUE(all);
    EXPECT_EQ(wrongThread, 0);
    for (int s = 0; s < 2; ++s) {
        ASSERT_EQ(seen[s].size(), static_cast<std::size_t>(kPerSender)) << "sender " << s;
        for (int i = 0; i < kPerSender; ++i)
            ASSERT_EQ(seen[s][static_cast<std::size_t>(i)], i) << "sender " << s << " at " << i;
    }
    EXPECT_EQ(events.Pending(), 0u);
    (void)senders;
}

TEST(GuiEvents, MarshalledHandlersCarryTheSenderAndTheErrorText)
{
    TGuiEvents events;
    TComponent sender(nullptr);
    std::vector<std::pair<TComponent*, std::string>> calls;
    auto progress = events.Marshal(std::function<void(TComponent*)>([&](TComponent* s) { calls.emplace_back(s, "progress"); }));
    auto failure = events.Marshal(std::function<void(TComponent*, const Exception&)>(
        [&](TComponent* s, const Exception& e) { calls.emplace_back(s, e.Message()); }));
    std::thread worker([&] {
        progress(&sender);
        failure(&sender, Exception("Drive not ready"));
        progress(&sender);
    });
    worker.join();
    EXPECT_TRUE(calls.empty()); // nothing runs before the GUI thread handles messages
    ASSERT_TRUE(guikit::WaitUntil([&] { return calls.size() == 3; }));
    EXPECT_EQ(calls[0], std::make_pair(&sender, std::string("progress")));
    EXPECT_EQ(calls[1], std::make_pair(&sender, std::string("Drive not ready")));
    EXPECT_EQ(calls[2], std::make_pair(&sender, std::string("progress")));
}

TEST(GuiEvents, EventsForAGoneReceiverAreDroppedQuietly)
{
    int ran = 0;
    std::function<void(TComponent*)> handler;
    {
        TGuiEvents events;
        handler = events.Marshal(std::function<void(TComponent*)>([&](TComponent*) { ++ran; }));
        handler(nullptr); // queued, never delivered
    }
    std::thread worker([&] { handler(nullptr); });
    worker.join();
    guikit::PumpMessages();
    EXPECT_EQ(ran, 0);
}

TEST(GuiEvents, AnEventPostedByAnEventRunsAfterTheOnesAlreadyWaiting)
{
    TGuiEvents events;
    std::vector<int> order;
    events.Post([&] {
        order.push_back(1);
        events.Post([&] { order.push_back(3); });
    });
    events.Post([&] { order.push_back(2); });
    ASSERT_TRUE(guikit::WaitUntil([&] { return order.size() == 3; }));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

} // namespace
