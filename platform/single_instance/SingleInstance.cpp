#include "SingleInstance.h"

#include "InstanceRequests.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

#include <chrono>
#include <unistd.h>

namespace vorlie {
namespace {

using namespace std::chrono_literals;

// A request is one short line; a peer that sends more, or nothing, is dropped.
constexpr qsizetype maxRequestBytes = 4096;
constexpr auto peerDeadline = 2s;
// The running instance may be busy starting up when the second launch comes.
constexpr auto answerDeadline = 5s;
constexpr QByteArrayView acknowledgement = "ok\n";

bool waitForAcknowledgement(QLocalSocket &socket)
{
    QByteArray answer;
    const auto limit = std::chrono::duration_cast<std::chrono::milliseconds>(answerDeadline).count();
    while (!answer.contains('\n') && answer.size() < acknowledgement.size() && socket.waitForReadyRead(static_cast<int>(limit)))
        answer += socket.readAll();
    return answer == acknowledgement;
}

// Reads one request from a peer and answers it; the peer is dropped on
// anything else, or when it is too slow.
void serve(QLocalSocket *peer, InstanceRequests &requests)
{
    auto *deadline = new QTimer(peer);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, peer, &QLocalSocket::abort);
    deadline->start(peerDeadline);
    peer->setReadBufferSize(maxRequestBytes);
    QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
    QObject::connect(peer, &QLocalSocket::readyRead, peer, [peer, &requests] {
        // Nothing beyond the cap is read: the buffered rest goes with the peer.
        const QByteArray line = peer->peek(maxRequestBytes);
        const qsizetype end = line.indexOf('\n');
        if (end < 0) {
            if (line.size() >= maxRequestBytes)
                peer->abort();
            return;
        }
        const std::optional<InstanceRequest> request = decodeInstanceRequest(line.left(end));
        if (!request) {
            peer->abort();
            return;
        }
        QObject::disconnect(peer, &QLocalSocket::readyRead, nullptr, nullptr);
        peer->write(acknowledgement.data(), acknowledgement.size());
        peer->disconnectFromServer();
        requests.deliver(*request);
    });
}

} // namespace

LaunchClaim::LaunchClaim(QString socketPath)
    : m_socketPath(std::move(socketPath))
    , m_lock(m_socketPath + QStringLiteral(".lock"))
{
}

QString LaunchClaim::defaultSocketPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/vorlie-")
        + QString::number(::getuid()) + QStringLiteral(".socket");
}

LaunchClaim::Outcome LaunchClaim::handOver(const std::optional<InstanceRequest> &request)
{
    // A launch that is starting up holds the claim until it listens; that takes
    // as long as connecting to the display.
    if (!m_lock.tryLock(10000))
        return Outcome::undecided;

    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(1000))
        return Outcome::first;
    m_lock.unlock();
    if (!request)
        return Outcome::forwarded;
    socket.write(encodeInstanceRequest(*request));
    return socket.waitForBytesWritten(1000) && waitForAcknowledgement(socket) ? Outcome::forwarded : Outcome::unanswered;
}

SingleInstance::SingleInstance(InstanceRequests &requests, QObject *parent)
    : QObject(parent)
    , m_requests(requests)
{
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    // A program that is quitting takes no more requests: a launch right after
    // Quit must start anew, not hand its request to an instance on its way out.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { m_server.close(); });
}

bool SingleInstance::listen(LaunchClaim &claim)
{
    // Without the claim another process may be listening right now.
    if (!claim.m_lock.isLocked())
        return false;
    // Nobody answered, so a socket file still there was left by a killed instance.
    QLocalServer::removeServer(claim.m_socketPath);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    const bool listening = m_server.listen(claim.m_socketPath);
    if (listening)
        QFile::setPermissions(claim.m_socketPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    claim.m_lock.unlock();
    return listening;
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *peer = m_server.nextPendingConnection())
        serve(peer, m_requests);
}

} // namespace vorlie
