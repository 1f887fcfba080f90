#include "platform/qt/QtMessagePoster.h"

#include <QCoreApplication>
#include <QObject>
#include <utility>

CPostedEvent::CPostedEvent(const PostedMessage& message, std::shared_ptr<const PayloadDeleter> deleter)
    : QEvent(EventType()), m_message(message), m_deleter(std::move(deleter))
{
}

CPostedEvent::~CPostedEvent()
{
    if (m_deleter && *m_deleter)
        (*m_deleter)(m_message);
}

QEvent::Type CPostedEvent::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

const PostedMessage& CPostedEvent::TakePayload()
{
    m_deleter.reset();
    return m_message;
}

CQtMessagePoster::~CQtMessagePoster()
{
    // The handlers of receivers that outlive the poster must not reach it.
    std::lock_guard lock(m_mutex);
    for (auto& [handle, receiver] : m_receivers)
        QObject::disconnect(receiver.destroyed);
}

WindowHandle CQtMessagePoster::Register(QObject* receiver)
{
    if (receiver == nullptr)
        return 0;
    std::lock_guard lock(m_mutex);
    for (const auto& [handle, known] : m_receivers) {
        if (known.object == receiver)
            return handle;
    }
    const WindowHandle handle = ++m_lastHandle;
    Receiver entry;
    entry.object = receiver;
    // Direct: runs in the receiver's destructor, before Qt drops its queued
    // events, and waits for a post that is under way.
    entry.destroyed = QObject::connect(
        receiver, &QObject::destroyed, receiver,
        [this, handle] {
            std::lock_guard lock(m_mutex);
            m_receivers.erase(handle);
        },
        Qt::DirectConnection);
    m_receivers.emplace(handle, entry);
    return handle;
}

void CQtMessagePoster::Unregister(WindowHandle handle)
{
    QObject* object = nullptr;
    {
        std::lock_guard lock(m_mutex);
        auto found = m_receivers.find(handle);
        if (found == m_receivers.end())
            return;
        object = found->second.object;
        QObject::disconnect(found->second.destroyed);
        m_receivers.erase(found);
    }
    // Outside the lock: the events' deleters run here and may post.
    QCoreApplication::removePostedEvents(object, CPostedEvent::EventType());
}

void CQtMessagePoster::SetPayloadDeleter(uint32_t message, PayloadDeleter deleter)
{
    auto shared = deleter ? std::make_shared<const PayloadDeleter>(std::move(deleter)) : nullptr;
    std::lock_guard lock(m_mutex);
    if (shared)
        m_deleters[message] = std::move(shared);
    else
        m_deleters.erase(message);
}

bool CQtMessagePoster::Post(const PostedMessage& message)
{
    std::lock_guard lock(m_mutex);
    auto receiver = m_receivers.find(message.target);
    if (receiver == m_receivers.end())
        return false;
    std::shared_ptr<const PayloadDeleter> deleter;
    if (auto found = m_deleters.find(message.message); found != m_deleters.end())
        deleter = found->second;
    QCoreApplication::postEvent(receiver->second.object, new CPostedEvent(message, std::move(deleter)));
    return true;
}
