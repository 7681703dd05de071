// A network for rare transfers lets its connections go once idle, instead of
// keeping them for a wake-up two minutes later.
#include "api/IdleClosingNetwork.h"
#include "support/SpinUntil.h"

#include <QNetworkReply>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace vorlie;
using namespace vorlie::testing;

namespace {

// An HTTP/1.1 peer on 127.0.0.1 that keeps its connections open and answers
// a request only when told to.
class KeepAlivePeer {
public:
    KeepAlivePeer()
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                m_open.push_back(socket);
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    if (socket->peek(qint64{64} * 1024).contains("\r\n\r\n")) {
                        socket->readAll();
                        m_asking.push_back(socket);
                    }
                });
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }

    QUrl url(const QString &path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/%2").arg(m_server.serverPort()).arg(path));
    }
    int asking() const { return static_cast<int>(m_asking.size()); }
    int open() const
    {
        int count = 0;
        for (const QPointer<QTcpSocket> &socket : m_open)
            count += socket && socket->state() == QAbstractSocket::ConnectedState ? 1 : 0;
        return count;
    }
    void answerOldest()
    {
        QPointer<QTcpSocket> socket = m_asking.front();
        m_asking.erase(m_asking.begin());
        if (socket)
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: keep-alive\r\n\r\nok");
    }

private:
    QTcpServer m_server;
    std::vector<QPointer<QTcpSocket>> m_open;
    std::vector<QPointer<QTcpSocket>> m_asking;
};

bool finishedWell(const std::unique_ptr<QNetworkReply> &reply)
{
    return reply->isFinished() && reply->error() == QNetworkReply::NoError && reply->readAll() == "ok";
}

} // namespace

TEST(IdleClosingNetwork, KeepsItsConnectionsWhileATransferRunsAndLetsThemGoOnceNoneDoes)
{
    KeepAlivePeer peer;
    IdleClosingNetwork network;
    std::unique_ptr<QNetworkReply> first(network.get(QNetworkRequest(peer.url(QStringLiteral("a.png")))));
    std::unique_ptr<QNetworkReply> second(network.get(QNetworkRequest(peer.url(QStringLiteral("b.png")))));
    ASSERT_TRUE(spinUntil([&] { return peer.asking() == 2; }));

    peer.answerOldest();
    ASSERT_TRUE(spinUntil([&] { return first->isFinished() || second->isFinished(); }));
    // The transfer still running keeps its connection and ends well.
    EXPECT_EQ(peer.open(), 2);
    peer.answerOldest();
    ASSERT_TRUE(spinUntil([&] { return first->isFinished() && second->isFinished(); }));
    EXPECT_TRUE(finishedWell(first));
    EXPECT_TRUE(finishedWell(second));
    EXPECT_TRUE(spinUntil([&] { return peer.open() == 0; }));

    // The next picture opens a new connection, and lets it go in turn.
    std::unique_ptr<QNetworkReply> third(network.get(QNetworkRequest(peer.url(QStringLiteral("c.png")))));
    ASSERT_TRUE(spinUntil([&] { return peer.asking() == 1; }));
    peer.answerOldest();
    ASSERT_TRUE(spinUntil([&] { return third->isFinished(); }));
    EXPECT_TRUE(finishedWell(third));
    EXPECT_TRUE(spinUntil([&] { return peer.open() == 0; }));
}

// Qt's destructor deletes the transfers still running after ours has run.
TEST(IdleClosingNetwork, GoesQuietlyWithATransferStillRunning)
{
    KeepAlivePeer peer;
    auto network = std::make_unique<IdleClosingNetwork>();
    QPointer<QNetworkReply> reply = network->get(QNetworkRequest(peer.url(QStringLiteral("a.png"))));
    ASSERT_TRUE(spinUntil([&] { return peer.asking() == 1; }));
    network.reset();
    EXPECT_TRUE(reply.isNull());
    EXPECT_TRUE(spinUntil([&] { return peer.open() == 0; }));
}
