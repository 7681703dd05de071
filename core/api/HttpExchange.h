#pragma once

#include "CancelToken.h"

#include <QByteArray>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <chrono>
#include <coroutine>
#include <memory>
#include <optional>

class QNetworkAccessManager;

namespace vorlie {

// What one HTTP exchange ended with, before any service-level meaning is
// given to it.
struct HttpOutcome {
    enum class Failure {
        none,      // an HTTP answer arrived: status and body are set
        cancelled, // the caller's token fired
        timedOut,  // silent for the time-out, or not done within twice it
        transport, // the network layer failed; networkError says how
        tooLarge,  // the body exceeded the limit and was abandoned
        notHttp,   // something answered, but not with a usable HTTP response
    };

    Failure failure = Failure::none;
    QNetworkReply::NetworkError networkError = QNetworkReply::NoError;
    int status = 0;
    QByteArray body;
};

struct HttpExchangeOptions {
    // The longest silence; the whole exchange ends as timed out after twice this.
    std::chrono::milliseconds timeout;
    qint64 maxBodyBytes = qint64{8} * 1024 * 1024; // service answers are small JSON documents
    CancelToken cancel = {};
};

// Marks a request as exchange() sends it: redirects not followed, our
// User-Agent. Done once on a template request, it spares every exchange a
// copy of the request.
void prepareForExchange(QNetworkRequest &request);

struct ExchangeProgress;
class DeadlineKeeper;

// One request on its way, from exchange(); `co_await` gives its outcome. It
// is an awaitable of its own rather than a coroutine, which would cost every
// request a frame and Qt a second wait. Dropped before its answer, it lets
// the request go.
class PendingExchange {
public:
    PendingExchange(QNetworkAccessManager &network, const QNetworkRequest &request, const QByteArray &verb,
                    const std::optional<QByteArray> &body, const HttpExchangeOptions &options);
    PendingExchange(PendingExchange &&) noexcept;
    PendingExchange &operator=(PendingExchange &&) = delete;
    ~PendingExchange();

    bool await_ready() const;
    void await_suspend(std::coroutine_handle<> waiter);
    HttpOutcome await_resume();

private:
    struct ReplyDeleter {
        void operator()(QNetworkReply *reply) const;
    };
    void stopWatching();

    std::unique_ptr<QNetworkReply, ReplyDeleter> m_reply; // none when cancelled before sending
    std::shared_ptr<ExchangeProgress> m_progress;
    QPointer<DeadlineKeeper> m_keeper;
    QMetaObject::Connection m_finished;
};

// Sends one request; its answer is awaited with `co_await`. Redirects are
// never followed: Qt would forward the Authorization header and re-post
// bodies to wherever a 3xx points, so a redirect comes back as an ordinary
// answer.
PendingExchange exchange(QNetworkAccessManager &network, const QNetworkRequest &request, const QByteArray &verb,
                         const std::optional<QByteArray> &body, const HttpExchangeOptions &options);

} // namespace vorlie
