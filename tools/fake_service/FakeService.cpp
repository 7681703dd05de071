#include "FakeService.h"

#include "AvatarPicture.h"

#include "HttpServer.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>

#include <algorithm>

namespace vorlie::fake {

namespace {

const QByteArray apiPrefix = QByteArrayLiteral("/api/v1/");

RecordedRequest record(const HttpRequest &request)
{
    RecordedRequest recorded;
    recorded.method = request.method;
    recorded.rawTarget = QString::fromUtf8(request.target);
    const qsizetype query = request.target.indexOf('?');
    const QByteArray path = query < 0 ? request.target : request.target.left(query);
    recorded.path = QString::fromUtf8(path.startsWith(apiPrefix) ? path.mid(apiPrefix.size()) : path);
    recorded.headers = request.headers;
    recorded.body = request.body;
    return recorded;
}

} // namespace

FakeService::FakeService(ServiceState::Clock clock, QObject *parent)
    : QObject(parent)
    , m_server(new HttpServer([this](const HttpRequest &request) { return answer(request); }, this))
    , m_network(new QNetworkAccessManager(this))
    , m_state(std::move(clock))
{
    m_network->setProxy(QNetworkProxy::NoProxy);
    m_network->setTransferTimeout(5000);
    // Runs inside answer(), on this thread and under the lock.
    m_state.setPushSender([this](const SentPush &push) { sendPush(push); });
}

FakeService::~FakeService()
{
    // Connections go first: none may reach the state while it is torn down.
    delete m_server;
}

quint16 FakeService::listen(quint16 port)
{
    return m_server->listen(port);
}

ScriptedReply FakeService::answer(const HttpRequest &request)
{
    const QMutexLocker lock(&m_mutex);
    m_requests.append(record(request));
    const RecordedRequest &recorded = m_requests.constLast();
    std::optional<ScriptedReply> scripted = m_scripts.take(recorded.method, recorded.path);
    if (scripted && !scripted->serviceAnswer)
        return *std::move(scripted);
    ScriptedReply built = builtInAnswer(request, recorded);
    if (scripted)
        built.delay = scripted->delay;
    return built;
}

ScriptedReply FakeService::builtInAnswer(const HttpRequest &request, const RecordedRequest &recorded)
{
    if (recorded.method == "GET" && recorded.path == u"/9.x/avataaars/png")
        return avatarPicture(recorded.rawTarget);
    if (!request.target.startsWith(apiPrefix))
        return errorReply(404, QStringLiteral("NOT_FOUND"), QStringLiteral("Everything lives below /api/v1/."));
    return m_state.handle(recorded.method, recorded.path, recorded);
}

// Fire and forget; a redirect is not followed, so a local endpoint cannot
// send the push elsewhere.
void FakeService::sendPush(const SentPush &push)
{
    m_pushes.append(push);
    QNetworkRequest request{QUrl(push.endpoint)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply *reply = m_network->post(request, push.body);
    connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
}

void FakeService::script(const QByteArray &method, const QString &path, const ScriptedReply &reply)
{
    const QMutexLocker lock(&m_mutex);
    m_scripts.script(method, path, reply);
}

void FakeService::scriptAlways(const QByteArray &method, const QString &path, const ScriptedReply &reply)
{
    const QMutexLocker lock(&m_mutex);
    m_scripts.scriptAlways(method, path, reply);
}

void FakeService::clearScripts()
{
    const QMutexLocker lock(&m_mutex);
    m_scripts.clear();
}

QList<RecordedRequest> FakeService::requests(const QString &path) const
{
    const QMutexLocker lock(&m_mutex);
    if (path.isNull())
        return m_requests;
    QList<RecordedRequest> matching;
    for (const RecordedRequest &request : m_requests) {
        if (request.path == path)
            matching.append(request);
    }
    return matching;
}

int FakeService::requestCount(const QString &path) const
{
    const QMutexLocker lock(&m_mutex);
    return static_cast<int>(std::count_if(m_requests.cbegin(), m_requests.cend(), [&](const RecordedRequest &r) { return r.path == path; }));
}

QList<SentPush> FakeService::sentPushes() const
{
    const QMutexLocker lock(&m_mutex);
    return m_pushes;
}

void FakeService::clearRecords()
{
    const QMutexLocker lock(&m_mutex);
    m_requests.clear();
    m_pushes.clear();
}

void FakeService::addAccount(const Account &account)
{
    const QMutexLocker lock(&m_mutex);
    m_state.addAccount(account);
}

TokenPair FakeService::issueTokens(const QString &userId)
{
    const QMutexLocker lock(&m_mutex);
    return m_state.issueTokens(userId);
}

void FakeService::expireAccessTokens()
{
    const QMutexLocker lock(&m_mutex);
    m_state.expireAccessTokens();
}

void FakeService::setAccessTokenLifetime(std::chrono::seconds lifetime)
{
    const QMutexLocker lock(&m_mutex);
    m_state.setAccessTokenLifetime(lifetime);
}

} // namespace vorlie::fake
