#pragma once
// The poster of the windowed program: worker threads post, the receiver's
// thread gets each post as a CPostedEvent from its event loop.
#include <QEvent>
#include <QMetaObject>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/WindowMessages.h"

class QObject;

using PayloadDeleter = std::function<void(const PostedMessage&)>;

// One post on its way to its receiver. The receiver's handler calls
// TakePayload when it keeps the heap payload; otherwise the event frees the
// payload when Qt deletes it (after delivery, or unread when the receiver
// goes first).
class CPostedEvent : public QEvent {
public:
    CPostedEvent(const PostedMessage& message, std::shared_ptr<const PayloadDeleter> deleter);
    ~CPostedEvent() override;
    CPostedEvent(const CPostedEvent&) = delete;
    CPostedEvent& operator=(const CPostedEvent&) = delete;

    static QEvent::Type EventType();

    const PostedMessage& Message() const { return m_message; }
    // The caller now owns the payload; the event no longer frees it.
    const PostedMessage& TakePayload();

private:
    PostedMessage m_message;
    std::shared_ptr<const PayloadDeleter> m_deleter;
};

class CQtMessagePoster : public IMessagePoster {
public:
    CQtMessagePoster() = default;
    ~CQtMessagePoster() override;
    CQtMessagePoster(const CQtMessagePoster&) = delete;
    CQtMessagePoster& operator=(const CQtMessagePoster&) = delete;

    // A handle for posts to the receiver; a receiver has one handle while it
    // is registered, and a handle is never handed out twice by this poster.
    // 0 for a null receiver.
    WindowHandle Register(QObject* receiver);
    // On the receiver's thread. Posts still queued for it are dropped with
    // their payloads freed; later posts fail.
    void Unregister(WindowHandle handle);

    // How to free the heap payload of a message that is never taken. Set
    // before the message is first posted.
    void SetPayloadDeleter(uint32_t message, PayloadDeleter deleter);

    // Any thread. False when the handle is not registered.
    [[nodiscard]] bool Post(const PostedMessage& message) override;

private:
    struct Receiver {
        QObject* object = nullptr;
        QMetaObject::Connection destroyed;
    };

    // Guards both tables; held across a post so that the receiver cannot be
    // destroyed between its look-up and postEvent.
    std::mutex m_mutex;
    std::unordered_map<WindowHandle, Receiver> m_receivers;
    std::unordered_map<uint32_t, std::shared_ptr<const PayloadDeleter>> m_deleters;
    WindowHandle m_lastHandle = 0;
};
