#pragma once

#include "ScriptBook.h"
#include "ScriptedReply.h"
#include "ServiceState.h"

#include <QMutex>
#include <QObject>

class QNetworkAccessManager;

namespace vorlie::fake {

class HttpServer;
struct HttpRequest;

// A real HTTP server on 127.0.0.1 that speaks the service's wire form below
// "/api/v1/". Tests script answers per (method, path) and read back what
// arrived; everything not scripted is answered by ServiceState, which also
// pushes status changes to devices whose token is a local endpoint. Paths are
// relative to "/api/v1/" ("me", "auth/refresh"). Every public call except
// listen() is safe from any thread.
class FakeService : public QObject {
    Q_OBJECT
public:
    explicit FakeService(ServiceState::Clock clock = &QDateTime::currentDateTimeUtc, QObject *parent = nullptr);
    ~FakeService() override;

    // Port 0 picks a free one; gives the port listened on, or 0. Call on the
    // service's own thread.
    quint16 listen(quint16 port = 0);

    void script(const QByteArray &method, const QString &path, const ScriptedReply &reply);
    void scriptAlways(const QByteArray &method, const QString &path, const ScriptedReply &reply);
    void clearScripts();

    // All requests, or those of one path, in arrival order.
    QList<RecordedRequest> requests(const QString &path = {}) const;
    int requestCount(const QString &path) const;
    // Pushes handed to the network, in the order sent; whether they arrived is
    // the receiver's business.
    QList<SentPush> sentPushes() const;
    // Forgets requests and pushes.
    void clearRecords();

    void addAccount(const Account &account);
    TokenPair issueTokens(const QString &userId);
    void expireAccessTokens();
    void setAccessTokenLifetime(std::chrono::seconds lifetime);

private:
    ScriptedReply answer(const HttpRequest &request);
    ScriptedReply builtInAnswer(const HttpRequest &request, const RecordedRequest &recorded);
    void sendPush(const SentPush &push);

    HttpServer *m_server;
    QNetworkAccessManager *m_network;
    mutable QMutex m_mutex; // guards everything below
    ScriptBook m_scripts;
    ServiceState m_state;
    QList<RecordedRequest> m_requests;
    QList<SentPush> m_pushes;
};

} // namespace vorlie::fake
