#pragma once

// Plain HTTP and bus helpers for the push tests. Everything runs on the
// test's event loop, so the connector under test keeps receiving while a
// helper waits.
#include "fake_service/Client.h"
#include "support/ResultOf.h"

#include <QAtomicInt>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace vorlie::testing {

using HttpAnswer = fake::testing::Answer;
using Headers = fake::testing::Headers;

// Waits on the caller's event loop, so the code under test keeps running.
inline HttpAnswer httpExchange(const QByteArray &method, const QUrl &url, const QByteArray &body = {}, const Headers &headers = {})
{
    QNetworkAccessManager network;
    network.setProxy(QNetworkProxy::NoProxy);
    network.setTransferTimeout(10'000);
    return resultOf(fake::testing::exchange(network, url, method, body, headers));
}

inline HttpAnswer post(const QUrl &url, const QByteArray &body, const Headers &headers = {})
{
    return httpExchange("POST", url, body, headers);
}

// Counts what arrived at any time, also during an earlier helper's wait,
// which QSignalSpy::wait() would miss.
inline bool waitForCount(const QSignalSpy &spy, qsizetype count, int timeoutMs = 5000)
{
    return QTest::qWaitFor([&spy, count] { return spy.size() >= count; }, timeoutMs);
}

// Each test claims names of its own, so a slow release from the one before cannot interfere.
inline QString uniqueConnectorName()
{
    static QAtomicInt next;
    return QStringLiteral("com.vorlia.test.Connector%1").arg(next.fetchAndAddRelaxed(1));
}

// A second client on the bus, for calls and signals from someone other than the code under test.
class BusPeer {
public:
    explicit BusPeer(const QString &name)
        : m_name(name)
        , m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, name))
    {
    }
    ~BusPeer() { QDBusConnection::disconnectFromBus(m_name); }
    BusPeer(const BusPeer &) = delete;
    BusPeer &operator=(const BusPeer &) = delete;

    QDBusConnection &bus() { return m_bus; }
    // A round trip to the bus daemon: everything this peer sent before has been routed.
    void sync() { m_bus.interface()->isServiceRegistered(m_bus.baseService()); }

private:
    QString m_name;
    QDBusConnection m_bus;
};

// Collects Qt's log output, so tests can tell that a component stayed quiet.
class LogCapture {
public:
    LogCapture() { s_lines = {}; s_previous = qInstallMessageHandler(&LogCapture::handle); }
    ~LogCapture() { qInstallMessageHandler(s_previous); }
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    QStringList lines() const { return s_lines; }

private:
    static void handle(QtMsgType, const QMessageLogContext &, const QString &message) { s_lines.append(message); }
    static inline QStringList s_lines;
    static inline QtMessageHandler s_previous = nullptr;
};

} // namespace vorlie::testing
