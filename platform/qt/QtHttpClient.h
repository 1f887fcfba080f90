#pragma once
// HTTP GETs with QNetworkAccessManager through the system's proxy settings.
// Requests run asynchronously; answers are delivered from a fresh event on
// the thread that made the client, never from inside the reply's signals,
// so an answer may drop its own request.
#include <QNetworkAccessManager>

#include "platform/HttpClient.h"

class CQtHttpClient : public IHttpClient {
public:
    CQtHttpClient();
    std::unique_ptr<IHttpRequest> Get(const std::string& url, const HttpRequestOptions& options,
                                      HttpDone done) override;

private:
    QNetworkAccessManager m_manager;
};
