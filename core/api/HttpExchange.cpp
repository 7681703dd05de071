#include "HttpExchange.h"

#include "DeadlineKeeper.h"

#include <VorlieVersion.h>

#include <QNetworkAccessManager>
#include <algorithm>
#include <memory>

namespace vorlie {
namespace {

// The body is taken out of the reply as it arrives and Qt may buffer only
// this much of it, so an endless chunked body is refused at the limit instead
// of growing in Qt's buffers first.
constexpr qint64 readBufferBytes = qint64{256} * 1024;

// Codes 1-199 are the network and proxy layers; from 201 on Qt reports HTTP
// error statuses, whose answer is still a proper response.
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

const QByteArray userAgentHeader = QByteArrayLiteral("User-Agent");

bool isPreparedForExchange(const QNetworkRequest &request)
{
    return request.attribute(QNetworkRequest::RedirectPolicyAttribute).toInt() == QNetworkRequest::ManualRedirectPolicy
        && request.hasRawHeader(userAgentHeader);
}

} // namespace

// What the reply's connections learn while the answer arrives.
struct ExchangeProgress {
    DeadlineKeeper::Watch watch;
    QByteArray received;
    bool cancelledByCaller = false;
    bool tooLarge = false;
    bool waiterGone = false; // the exchange was dropped: its waiter must not be resumed

    void refuse()
    {
        if (!tooLarge) {
            tooLarge = true;
            watch.reply->abort();
        }
    }
};

void prepareForExchange(QNetworkRequest &request)
{
    static const QByteArray userAgent = QByteArrayLiteral("vorlie/") + programVersion + " (Linux)";
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setRawHeader(userAgentHeader, userAgent);
}

void PendingExchange::ReplyDeleter::operator()(QNetworkReply *reply) const
{
    reply->deleteLater();
}

PendingExchange exchange(QNetworkAccessManager &network, const QNetworkRequest &request, const QByteArray &verb,
                         const std::optional<QByteArray> &body, const HttpExchangeOptions &options)
{
    return PendingExchange(network, request, verb, body, options);
}

PendingExchange::PendingExchange(QNetworkAccessManager &network, const QNetworkRequest &request,
                                 const QByteArray &verb, const std::optional<QByteArray> &body,
                                 const HttpExchangeOptions &options)
    : m_progress(std::make_shared<ExchangeProgress>())
{
    if (options.cancel.isCancelled())
        return;
    if (isPreparedForExchange(request)) {
        m_reply.reset(send(network, request, verb, body));
    } else {
        QNetworkRequest prepared = request;
        prepareForExchange(prepared);
        m_reply.reset(send(network, prepared, verb, body));
    }
    QNetworkReply *raw = m_reply.get();

    // The reply's connections below write into the shared progress: they end
    // with the reply, which Qt deletes later than this exchange ends.
    const std::shared_ptr<ExchangeProgress> &progress = m_progress;
    DeadlineKeeper &keeper = DeadlineKeeper::of(network);
    m_keeper = &keeper;
    progress->watch.reply = raw;
    progress->watch.silenceMs = options.timeout.count();
    progress->watch.startedMs = progress->watch.lastHeardMs = DeadlineKeeper::now();

    if (auto *notifier = options.cancel.notifier()) {
        QObject::connect(notifier, &detail::CancelState::cancelRequested, raw, [raw, progress] {
            progress->cancelledByCaller = true;
            raw->abort();
        });
    }
    const qint64 limit = options.maxBodyBytes;
    // An announced size over the limit is refused before any of the body is read.
    QObject::connect(raw, &QNetworkReply::metaDataChanged, raw, [raw, progress, limit] {
        progress->watch.lastHeardMs = DeadlineKeeper::now();
        const qint64 announced = raw->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (announced > limit)
            progress->refuse();
    });
    // Qt's network thread takes the limit only once its side of the reply
    // exists. A request without a body is handed there before send()
    // returns, so the word said now follows it; one with a body is handed
    // there from the event loop, so the word is said again once that is done.
    raw->setReadBufferSize(readBufferBytes);
    if (body)
        QMetaObject::invokeMethod(raw, [raw] { raw->setReadBufferSize(readBufferBytes); }, Qt::QueuedConnection);
    QObject::connect(raw, &QNetworkReply::readyRead, raw, [raw, progress, limit] {
        progress->watch.lastHeardMs = DeadlineKeeper::now();
        QByteArray &received = progress->received;
        received += raw->read(std::min(raw->bytesAvailable(), limit + 1 - received.size()));
        if (received.size() > limit)
            progress->refuse();
    });
    keeper.add(progress->watch);
}

PendingExchange::PendingExchange(PendingExchange &&other) noexcept
    : m_reply(std::move(other.m_reply))
    , m_progress(std::move(other.m_progress))
    , m_keeper(std::move(other.m_keeper))
    , m_finished(std::move(other.m_finished))
{
}

PendingExchange::~PendingExchange()
{
    // A waiter dropped before the answer must not be resumed.
    QObject::disconnect(m_finished);
    if (m_progress)
        m_progress->waiterGone = true;
    stopWatching();
}

void PendingExchange::stopWatching()
{
    if (m_keeper && m_progress)
        m_keeper->remove(m_progress->watch);
}

bool PendingExchange::await_ready() const
{
    return !m_reply || m_reply->isFinished();
}

// An answer that came in from Qt's network thread resumes the waiter at once,
// as a plainly awaited reply does. After an abort, which runs inside a
// caller's signal, a deadline's tick or a destructor, the waiter is resumed
// from the event loop instead, away from what is still on the stack.
void PendingExchange::await_suspend(std::coroutine_handle<> waiter)
{
    QNetworkReply *raw = m_reply.get();
    m_finished = QObject::connect(raw, &QNetworkReply::finished, raw, [raw, waiter, progress = m_progress] {
        if (raw->error() != QNetworkReply::OperationCanceledError) {
            waiter.resume();
            return;
        }
        QMetaObject::invokeMethod(raw, [waiter, progress] {
            if (!progress->waiterGone)
                waiter.resume();
        }, Qt::QueuedConnection);
    });
}

HttpOutcome PendingExchange::await_resume()
{
    stopWatching();
    HttpOutcome outcome;
    ExchangeProgress &progress = *m_progress;
    if (!m_reply) {
        outcome.failure = HttpOutcome::Failure::cancelled;
        return outcome;
    }
    QNetworkReply *raw = m_reply.get();
    const QNetworkReply::NetworkError error = raw->error();
    outcome.networkError = error;
    const QVariant status = raw->attribute(QNetworkRequest::HttpStatusCodeAttribute);

    if (progress.cancelledByCaller) {
        outcome.failure = HttpOutcome::Failure::cancelled;
    } else if (progress.tooLarge) {
        outcome.failure = HttpOutcome::Failure::tooLarge;
    } else if (progress.watch.timedOut || error == QNetworkReply::TimeoutError) {
        outcome.failure = HttpOutcome::Failure::timedOut;
    } else if (isTransportError(error)) {
        outcome.failure = HttpOutcome::Failure::transport;
    } else if (!status.isValid()) {
        outcome.failure = HttpOutcome::Failure::notHttp;
    } else {
        outcome.status = status.toInt();
        if (raw->bytesAvailable() > 0)
            progress.received += raw->readAll();
        outcome.body = std::move(progress.received);
    }
    return outcome;
}

} // namespace vorlie
