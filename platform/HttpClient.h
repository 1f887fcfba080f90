#pragma once
// Fetching a small file over HTTP without blocking: a request starts and
// returns at once, its answer comes later on the thread that started it.
// Dropping the request aborts it, and then no answer comes.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct HttpRequestOptions {
    std::string userAgent;
    std::size_t maxBytes = 1024;   // reading stops there; what was read counts
    uint32_t timeoutMs = 15000;    // for the whole request, answer included
};

struct HttpResult {
    bool transferred = false;  // an answer was read (whole, or up to maxBytes)
    int status = 0;            // the final HTTP status after redirects; 0: none
    std::string body;          // at most maxBytes
    std::string error;         // why nothing was read, for the log
};

using HttpDone = std::function<void(const HttpResult& result)>;

// The handle of a running request; its destructor aborts it.
class IHttpRequest {
public:
    virtual ~IHttpRequest() = default;
};

class IHttpClient {
public:
    virtual ~IHttpClient() = default;
    // A GET of `url`; `done` runs once, later, unless the handle is dropped
    // first.
    virtual std::unique_ptr<IHttpRequest> Get(const std::string& url, const HttpRequestOptions& options,
                                              HttpDone done) = 0;
};

// A client that fetches nothing: it records each request, and the test
// answers it with Complete.
class CScriptedHttpClient : public IHttpClient {
public:
    struct Request {
        std::string url;
        HttpRequestOptions options;
    };

    std::unique_ptr<IHttpRequest> Get(const std::string& url, const HttpRequestOptions& options,
                                      HttpDone done) override;
    // Answers request `index` (in the order made); false when it was dropped
    // or answered already.
    bool Complete(std::size_t index, const HttpResult& result);
    std::vector<Request> Requests() const;
    // Requests neither answered nor dropped.
    std::size_t Pending() const;

private:
    struct Slot {
        Request request;
        HttpDone done;
        bool open = true;
        std::mutex mutex;  // the handle may outlive the client
    };
    class Handle;

    mutable std::mutex m_mutex;
    std::vector<std::shared_ptr<Slot>> m_slots;
};
