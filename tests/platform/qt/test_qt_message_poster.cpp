#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include "platform/qt/QtMessagePoster.h"

namespace {

constexpr int kWaitMs = 10000;
constexpr uint32_t kMessage = 0xC123;

// Each payload is a heap int; whoever owns it last deletes it and counts.
struct Ledger {
    std::atomic<int> allocated{0};
    std::atomic<int> taken{0};   // by the receiver's handler
    std::atomic<int> freed{0};   // by the poster's deleter
    std::atomic<int> refused{0}; // kept by the sender after a failed post
    std::vector<PostedMessage> delivered; // lParam: the payload's value

    bool Post(CQtMessagePoster& poster, WindowHandle target, uintptr_t wParam, int value)
    {
        auto* payload = new int(value);
        ++allocated;
        if (poster.Post({target, kMessage, wParam, reinterpret_cast<intptr_t>(payload)}))
            return true;
        delete payload;
        ++refused;
        return false;
    }
    void FreeWith(CQtMessagePoster& poster)
    {
        poster.SetPayloadDeleter(kMessage, [this](const PostedMessage& message) {
            delete reinterpret_cast<int*>(message.lParam);
            ++freed;
        });
    }
};

class Receiver : public QObject {
public:
    explicit Receiver(Ledger& ledger) : m_ledger(ledger) {}

protected:
    void customEvent(QEvent* event) override
    {
        if (event->type() != CPostedEvent::EventType())
            return;
        PostedMessage message = static_cast<CPostedEvent*>(event)->TakePayload();
        auto* payload = reinterpret_cast<int*>(message.lParam);
        message.lParam = *payload;
        delete payload;
        ++m_ledger.taken;
        m_ledger.delivered.push_back(message);
    }

private:
    Ledger& m_ledger;
};

bool ProcessEventsUntil(const std::function<bool()>& done)
{
    QDeadlineTimer deadline(kWaitMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        std::this_thread::yield();
    }
    return true;
}

} // namespace

TEST(QtMessagePoster, PostsFromSeveralThreadsArriveInOrderWithTheirPayloadsTaken)
{
    constexpr int kThreads = 4;
    constexpr int kPerThread = 300;
    Ledger ledger;
    CQtMessagePoster poster;
    ledger.FreeWith(poster);
    Receiver receiver(ledger);
    const WindowHandle handle = poster.Register(&receiver);

    std::vector<std::thread> senders;
    for (int t = 0; t < kThreads; ++t) {
        senders.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i)
                ledger.Post(poster, handle, static_cast<uintptr_t>(t), i);
        });
    }
    EXPECT_TRUE(ProcessEventsUntil([&] { return ledger.delivered.size() == kThreads * kPerThread; }));
    for (auto& sender : senders)
        sender.join();

    std::vector<int> next(kThreads, 0);
    for (const PostedMessage& message : ledger.delivered) {
        ASSERT_LT(message.wParam, static_cast<uintptr_t>(kThreads));
        EXPECT_EQ(message.target, handle);
        EXPECT_EQ(message.lParam, next[message.wParam]++) << "sender " << message.wParam;
    }
    EXPECT_EQ(ledger.refused, 0);
    EXPECT_EQ(ledger.freed, 0);
    EXPECT_EQ(ledger.taken, ledger.allocated);
}

// A worker posts on while the UI thread drops the receiver: every payload
// then has exactly one owner, nothing arrives after, no handle comes back.
TEST(QtMessagePoster, PostsThatCannotArriveFreeEachPayloadOnce)
{
    using Lose = std::function<void(CQtMessagePoster&, WindowHandle, std::unique_ptr<Receiver>&)>;
    const std::pair<const char*, Lose> cases[] = {
        {"unregistered", [](CQtMessagePoster& poster, WindowHandle handle, auto&) { poster.Unregister(handle); }},
        {"receiver deleted", [](CQtMessagePoster&, WindowHandle, auto& receiver) { receiver.reset(); }},
    };
    CQtMessagePoster poster;
    std::set<WindowHandle> handles;
    for (const auto& [name, lose] : cases) {
        SCOPED_TRACE(name);
        Ledger ledger;
        ledger.FreeWith(poster);
        auto receiver = std::make_unique<Receiver>(ledger);
        const WindowHandle handle = poster.Register(receiver.get());
        EXPECT_EQ(poster.Register(receiver.get()), handle);
        EXPECT_TRUE(handles.insert(handle).second) << "handle reused";
        EXPECT_FALSE(ledger.Post(poster, 0, 0, -1));
        EXPECT_FALSE(ledger.Post(poster, handle + 1, 0, -1)) << "never handed out";

        std::thread worker([&] {
            QDeadlineTimer deadline(kWaitMs);
            for (int i = 0; !deadline.hasExpired() && ledger.Post(poster, handle, 0, i); ++i) {
            }
        });
        EXPECT_TRUE(ProcessEventsUntil([&] { return ledger.taken >= 100; }));
        lose(poster, handle, receiver);
        worker.join();
        const int takenBefore = ledger.taken;
        QCoreApplication::processEvents();

        EXPECT_EQ(ledger.taken, takenBefore) << "delivered after it was dropped";
        EXPECT_EQ(ledger.refused, 3) << "the worker ends on a refusal";
        EXPECT_EQ(ledger.taken + ledger.freed + ledger.refused, ledger.allocated);
        if (receiver) {
            const WindowHandle again = poster.Register(receiver.get());
            EXPECT_TRUE(handles.insert(again).second) << "handle reused";
            EXPECT_FALSE(ledger.Post(poster, handle, 0, -1));
        }
    }
}
