#pragma once

#include "CancelToken.h"

#include <QByteArray>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QCoro/QCoroTask>
#include <chrono>
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

// Sends one request and waits for its answer. Redirects are never followed:
// Qt would forward the Authorization header and re-post bodies to wherever a
// 3xx points, so a redirect comes back as an ordinary answer.
QCoro::Task<HttpOutcome> exchange(QNetworkAccessManager &network, QNetworkRequest request, QByteArray verb,
                                  std::optional<QByteArray> body, HttpExchangeOptions options);

} // namespace vorlie
