#include "platform/qt/QtHttpClient.h"

#include <QCoreApplication>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <chrono>

namespace {

class CQtHttpRequest : public IHttpRequest {
public:
    CQtHttpRequest(QNetworkReply* reply, const HttpRequestOptions& options, HttpDone done)
        : m_reply(reply), m_maxBytes(options.maxBytes), m_done(std::move(done))
    {
        QObject::connect(reply, &QNetworkReply::readyRead, reply, [this] { ReadAvailable(); });
        QObject::connect(reply, &QNetworkReply::finished, reply, [this] { OnFinished(); });
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            HttpResult result;
            result.error = "no answer within the time allowed";
            Finish(std::move(result));
        });
        m_timer.start(std::chrono::milliseconds(options.timeoutMs));
    }

    ~CQtHttpRequest() override { DropReply(); }

private:
    int Status() const
    {
        const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        return status.isValid() ? status.toInt() : 0;
    }

    void ReadAvailable()
    {
        if (!m_reply)
            return;
        const qint64 room = static_cast<qint64>(m_maxBytes - std::min(m_maxBytes, m_body.size()));
        if (room > 0)
            m_body += m_reply->read(room).toStdString();
        if (m_body.size() >= m_maxBytes) {
            // Enough: the rest is never read.
            HttpResult result;
            result.transferred = true;
            result.status = Status();
            result.body = m_body;
            Finish(std::move(result));
        }
    }

    void OnFinished()
    {
        if (!m_reply)
            return;
        ReadAvailable();
        if (!m_reply)
            return;
        HttpResult result;
        result.status = Status();
        // An HTTP error status still is an answer; the caller judges it.
        result.transferred = m_reply->error() == QNetworkReply::NoError || result.status != 0;
        if (result.transferred)
            result.body = m_body;
        else
            result.error = m_reply->errorString().toStdString();
        Finish(std::move(result));
    }

    void DropReply()
    {
        m_timer.stop();
        if (QNetworkReply* reply = m_reply.data()) {
            m_reply = nullptr;
            // Disconnected first: abort() would report through finished.
            reply->disconnect();
            reply->abort();
            reply->deleteLater();
        }
    }

    void Finish(HttpResult result)
    {
        if (!m_done)
            return;
        DropReply();
        // Delivered from its own event: the answer may drop this request.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [alive = std::weak_ptr<int>(m_alive), done = std::move(m_done), result = std::move(result)] {
                if (alive.lock())
                    done(result);
            },
            Qt::QueuedConnection);
        m_done = nullptr;
    }

    QPointer<QNetworkReply> m_reply;
    std::size_t m_maxBytes;
    HttpDone m_done;
    std::string m_body;
    QTimer m_timer;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

} // namespace

CQtHttpClient::CQtHttpClient()
{
    // "Pre-configured" proxy settings: the system's.
    QNetworkProxyFactory::setUseSystemConfiguration(true);
}

std::unique_ptr<IHttpRequest> CQtHttpClient::Get(const std::string& url, const HttpRequestOptions& options,
                                                 HttpDone done)
{
    QNetworkRequest request(QUrl(QString::fromStdString(url)));
    request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromStdString(options.userAgent));
    return std::make_unique<CQtHttpRequest>(m_manager.get(request), options, std::move(done));
}
