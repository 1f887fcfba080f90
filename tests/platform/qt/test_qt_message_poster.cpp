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
    std::vector<PostedMessage> delivered;

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
    int Owned() const { return taken + freed + refused; }
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
        message.lParam = *payload; // keep the value, not the freed address
        delete payload;
        ++m_ledger.taken;
        m_ledger.delivered.push_back(message);
    }

private:
    Ledger& m_ledger;
};

void UseLedgerDeleter(CQtMessagePoster& poster, Ledger& ledger)
{
    poster.SetPayloadDeleter(kMessage, [&ledger](const PostedMessage& message) {
        delete reinterpret_cast<int*>(message.lParam);
        ++ledger.freed;
    });
}

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
    UseLedgerDeleter(poster, ledger);
    Receiver receiver(ledger);
    const WindowHandle handle = poster.Register(&receiver);
    ASSERT_NE(handle, 0u);

    std::atomic<int> failed{0};
    std::vector<std::thread> senders;
    for (int t = 0; t < kThreads; ++t) {
        senders.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i)
                failed += ledger.Post(poster, handle, static_cast<uintptr_t>(t), i) ? 0 : 1;
        });
    }
    // The UI thread keeps receiving while the workers post.
    EXPECT_TRUE(ProcessEventsUntil([&] { return ledger.delivered.size() == kThreads * kPerThread; }));
    for (auto& sender : senders)
        sender.join();

    EXPECT_EQ(failed, 0);
    std::vector<int> next(kThreads, 0);
    for (const PostedMessage& message : ledger.delivered) {
        ASSERT_LT(message.wParam, static_cast<uintptr_t>(kThreads));
        EXPECT_EQ(message.target, handle);
        EXPECT_EQ(message.message, kMessage);
        EXPECT_EQ(message.lParam, next[message.wParam]++) << "sender " << message.wParam;
    }
    EXPECT_EQ(next, std::vector<int>(kThreads, kPerThread));
    EXPECT_EQ(ledger.taken, ledger.allocated);
    EXPECT_EQ(ledger.freed, 0);
}

TEST(QtMessagePoster, PostsThatCannotArriveFreeEachPayloadOnce)
{
    struct Case {
        const char* name;
        std::function<void(CQtMessagePoster&, WindowHandle, std::unique_ptr<Receiver>&)> lose;
    };
    const Case cases[] = {
        {"unregistered", [](CQtMessagePoster& poster, WindowHandle handle, auto&) { poster.Unregister(handle); }},
        {"receiver deleted", [](CQtMessagePoster&, WindowHandle, auto& receiver) { receiver.reset(); }},
    };
    constexpr int kQueued = 5;
    CQtMessagePoster poster;
    std::set<WindowHandle> handles;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ledger ledger;
        UseLedgerDeleter(poster, ledger);
        auto receiver = std::make_unique<Receiver>(ledger);
        const WindowHandle handle = poster.Register(receiver.get());
        EXPECT_EQ(poster.Register(receiver.get()), handle);
        EXPECT_TRUE(handles.insert(handle).second) << "handle reused";
        EXPECT_FALSE(ledger.Post(poster, handle + 1, 0, -1)) << "a handle not handed out";
        EXPECT_FALSE(ledger.Post(poster, 0, 0, -1));

        for (int i = 0; i < kQueued; ++i)
            EXPECT_TRUE(ledger.Post(poster, handle, 0, i));
        c.lose(poster, handle, receiver);
        // Freed at once, not when the event loop next runs.
        EXPECT_EQ(ledger.freed, kQueued);
        EXPECT_FALSE(ledger.Post(poster, handle, 0, -1));
        QCoreApplication::processEvents();

        EXPECT_TRUE(ledger.delivered.empty());
        EXPECT_EQ(ledger.taken, 0);
        EXPECT_EQ(ledger.freed, kQueued);
        EXPECT_EQ(ledger.Owned(), ledger.allocated);
        if (receiver) {
            // Registered again, the same receiver gets a new handle.
            const WindowHandle again = poster.Register(receiver.get());
            EXPECT_TRUE(handles.insert(again).second) << "handle reused";
            EXPECT_FALSE(ledger.Post(poster, handle, 0, -1));
            EXPECT_TRUE(ledger.Post(poster, again, 0, 7));
            EXPECT_TRUE(ProcessEventsUntil([&] { return ledger.taken == 1; }));
            EXPECT_EQ(ledger.Owned(), ledger.allocated);
        }
    }
}

TEST(QtMessagePoster, ReceiverDeletedWhileAWorkerPostsLeavesEachPayloadOneOwner)
{
    Ledger ledger;
    CQtMessagePoster poster;
    UseLedgerDeleter(poster, ledger);
    auto receiver = std::make_unique<Receiver>(ledger);
    const WindowHandle handle = poster.Register(receiver.get());

    std::atomic<bool> refused{false};
    std::thread worker([&] {
        QDeadlineTimer deadline(kWaitMs);
        for (int i = 0; !deadline.hasExpired(); ++i) {
            if (!ledger.Post(poster, handle, 0, i)) {
                refused = true;
                return;
            }
        }
    });
    EXPECT_TRUE(ProcessEventsUntil([&] { return ledger.taken >= 100; }));
    receiver.reset();
    worker.join();
    QCoreApplication::processEvents();

    EXPECT_TRUE(refused);
    EXPECT_EQ(ledger.refused, 1);
    EXPECT_EQ(ledger.Owned(), ledger.allocated);
}
