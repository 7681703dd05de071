#include "DevDistributorHost.h"

#include <QAtomicInt>

#include <stdexcept>

namespace vorlie::devpush {

namespace {
QAtomicInt hostCount;
} // namespace

DevDistributorHost::DevDistributorHost(const QString &busName)
    : m_busName(busName)
    , m_connectionName(QStringLiteral("vorlie-dev-distributor-%1").arg(hostCount.fetchAndAddRelaxed(1)))
{
    m_thread.setObjectName(QStringLiteral("dev-distributor"));
    m_distributor = new DevDistributor(QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName), m_busName);
    m_distributor->moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(m_distributor, [this] { m_port = m_distributor->start(); }, Qt::BlockingQueuedConnection);
    if (m_port == 0) {
        stop();
        throw std::runtime_error("the development distributor could not claim its bus name or listen on 127.0.0.1");
    }
}

DevDistributorHost::~DevDistributorHost()
{
    stop();
}

void DevDistributorHost::stop()
{
    // Deleted on its own thread: its sockets belong there.
    QMetaObject::invokeMethod(m_distributor, [this] { delete m_distributor; }, Qt::BlockingQueuedConnection);
    m_distributor = nullptr;
    m_thread.quit();
    m_thread.wait();
    QDBusConnection::disconnectFromBus(m_connectionName);
}

} // namespace vorlie::devpush
