#include "HttpExchange.h"

#include <VorlieVersion.h>

#include <QNetworkAccessManager>
#include <QElapsedTimer>
#include <QTimer>
#include <QCoro/QCoroNetworkReply>
#include <algorithm>
#include <memory>

namespace vorlie {
namespace {

struct ReplyDeleter {
    void operator()(QNetworkReply *reply) const { reply->deleteLater(); }
};

// Codes 1-199 are the network and proxy layers; from 201 on Qt reports HTTP
// error statuses, whose answer is still a proper response.
constexpr qint64 readBufferBytes = qint64{256} * 1024;

bool isTransportError(QNetworkReply::NetworkError error)
{
    return error > QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied;
}

// Qt's own call for each common verb: sendCustomRequest() costs two more
// connections by signal name on every request.
QNetworkReply *send(QNetworkAccessManager &network, const QNetworkRequest &request, const QByteArray &verb,
                    const std::optional<QByteArray> &body)
{
    if (verb == "GET" && !body)
        return network.get(request);
    if (verb == "POST")
        return network.post(request, body.value_or(QByteArray()));
    if (verb == "PUT")
        return network.put(request, body.value_or(QByteArray()));
    if (verb == "DELETE" && !body)
        return network.deleteResource(request);
    return body ? network.sendCustomRequest(request, verb, *body) : network.sendCustomRequest(request, verb);
}

} // namespace

QCoro::Task<HttpOutcome> exchange(QNetworkAccessManager &network, QNetworkRequest request, QByteArray verb,
                                  std::optional<QByteArray> body, HttpExchangeOptions options)
{
    HttpOutcome outcome;
    if (options.cancel.isCancelled()) {
        outcome.failure = HttpOutcome::Failure::cancelled;
        co_return outcome;
    }

    static const QByteArray userAgent = QByteArrayLiteral("vorlie/") + programVersion + " (Linux)";
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent);

    std::unique_ptr<QNetworkReply, ReplyDeleter> reply(send(network, request, verb, body));

    bool cancelledByCaller = false;
    bool tooLarge = false;
    bool timedOut = false;
    QByteArray received;
    QElapsedTimer clock;
    clock.start();
    qint64 lastHeardMs = 0;
    QNetworkReply *raw = reply.get();
    // Every connection below has the timer as its context, so all of them
    // end with it, before the locals they write to.
    QTimer deadline;
    if (auto *notifier = options.cancel.notifier()) {
        QObject::connect(notifier, &detail::CancelState::cancelRequested, &deadline, [raw, &cancelledByCaller] {
            cancelledByCaller = true;
            raw->abort();
        });
    }
    const qint64 limit = options.maxBodyBytes;
    const auto refuse = [raw, &tooLarge] {
        if (!tooLarge) {
            tooLarge = true;
            raw->abort();
        }
    };
    // An announced size over the limit is refused before any of the body is read.
    QObject::connect(raw, &QNetworkReply::metaDataChanged, &deadline, [raw, refuse, limit, &received, &clock, &lastHeardMs] {
        lastHeardMs = clock.elapsed();
        const qint64 announced = raw->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (announced > limit)
            refuse();
        else if (announced > 0)
            received.reserve(announced);
        // Said again now that the answer has begun: Qt's network thread only
        // stops reading the socket once its side of the reply exists, which
        // the first word usually reaches too early, and would otherwise
        // buffer a fast body without bound while this thread lags behind.
        if (announced <= 0 || announced > readBufferBytes)
            raw->setReadBufferSize(readBufferBytes);
    });
    // The body is taken out of the reply as it arrives and Qt may buffer only
    // a little of it, so an endless chunked body is refused at the limit
    // instead of growing in Qt's buffers first.
    raw->setReadBufferSize(readBufferBytes);
    QObject::connect(raw, &QNetworkReply::readyRead, &deadline, [raw, refuse, limit, &received, &clock, &lastHeardMs] {
        lastHeardMs = clock.elapsed();
        const qsizetype at = received.size();
        const qint64 wanted = std::min(raw->bytesAvailable(), limit + 1 - at);
        received.resize(at + wanted);
        received.truncate(at + std::max<qint64>(raw->read(received.data() + at, wanted), 0));
        if (received.size() > limit)
            refuse();
    });
    // One timer for both limits, the longest silence and the whole exchange,
    // which a body trickled in byte by byte would otherwise stretch for ever.
    // It is not restarted for every block: when it fires it looks at how long
    // the answer has really been silent and waits out the rest.
    const qint64 silenceMs = options.timeout.count();
    const qint64 wholeMs = 2 * silenceMs;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &deadline, [&] {
        const qint64 due = std::min(lastHeardMs + silenceMs, wholeMs);
        const qint64 now = clock.elapsed();
        if (now < due) {
            deadline.start(std::chrono::milliseconds(due - now));
            return;
        }
        timedOut = true;
        raw->abort();
    });
    deadline.start(options.timeout);

    if (!raw->isFinished())
        co_await qCoro(raw).waitForFinished(std::chrono::milliseconds(-1));
    deadline.stop();

    const QNetworkReply::NetworkError error = raw->error();
    outcome.networkError = error;
    const QVariant status = raw->attribute(QNetworkRequest::HttpStatusCodeAttribute);

    if (cancelledByCaller) {
        outcome.failure = HttpOutcome::Failure::cancelled;
    } else if (tooLarge) {
        outcome.failure = HttpOutcome::Failure::tooLarge;
    } else if (timedOut || error == QNetworkReply::TimeoutError) {
        outcome.failure = HttpOutcome::Failure::timedOut;
    } else if (isTransportError(error)) {
        outcome.failure = HttpOutcome::Failure::transport;
    } else if (!status.isValid()) {
        outcome.failure = HttpOutcome::Failure::notHttp;
    } else {
        outcome.status = status.toInt();
        if (raw->bytesAvailable() > 0)
            received += raw->readAll();
        outcome.body = std::move(received);
    }
    co_return outcome;
}

} // namespace vorlie
