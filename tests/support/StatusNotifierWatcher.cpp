#include "StatusNotifierWatcher.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QUuid>

namespace vorlie::testing {

namespace {

const QString watcherName = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");

} // namespace

StatusNotifierWatcher::StatusNotifierWatcher() = default;

StatusNotifierWatcher::~StatusNotifierWatcher()
{
    stop();
}

bool StatusNotifierWatcher::start()
{
    if (m_service)
        return true;
    m_service = new StatusNotifierWatcherService(QStringLiteral("sni-watcher-") + QUuid::createUuid().toString(QUuid::Id128));
    m_service->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_service, &QObject::deleteLater);
    m_thread.start();
    bool opened = false;
    QMetaObject::invokeMethod(m_service, &StatusNotifierWatcherService::open, Qt::BlockingQueuedConnection, &opened);
    if (!opened)
        stop();
    return opened;
}

void StatusNotifierWatcher::stop()
{
    if (!m_service)
        return;
    QMetaObject::invokeMethod(m_service, &StatusNotifierWatcherService::close, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    m_service = nullptr;
}

QStringList StatusNotifierWatcher::registeredItems() const
{
    return m_service ? m_service->registeredItems() : QStringList();
}

StatusNotifierWatcherService::StatusNotifierWatcherService(QString connectionName)
    : m_connectionName(std::move(connectionName))
{
}

bool StatusNotifierWatcherService::open()
{
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName);
    // The object first: a client reacts to the name at once.
    return bus.isConnected()
        && bus.registerObject(watcherPath, this,
                              QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals
                                  | QDBusConnection::ExportAllProperties)
        && bus.registerService(watcherName);
}

void StatusNotifierWatcherService::close()
{
    QDBusConnection bus(m_connectionName);
    bus.unregisterService(watcherName);
    bus.unregisterObject(watcherPath);
    QDBusConnection::disconnectFromBus(m_connectionName);
}

QStringList StatusNotifierWatcherService::registeredItems() const
{
    const QMutexLocker lock(&m_mutex);
    return m_items;
}

// Qt registers the bus name of an item at the usual path.
void StatusNotifierWatcherService::RegisterStatusNotifierItem(const QString &busName)
{
    const QString item = busName + QStringLiteral("/StatusNotifierItem");
    {
        const QMutexLocker lock(&m_mutex);
        if (m_items.contains(item))
            return;
        m_items.append(item);
    }
    auto *owner = new QDBusServiceWatcher(busName, QDBusConnection(m_connectionName),
                                          QDBusServiceWatcher::WatchForUnregistration, this);
    connect(owner, &QDBusServiceWatcher::serviceUnregistered, this, [this, owner](const QString &name) {
        owner->deleteLater();
        ownerGone(name);
    });
    emit StatusNotifierItemRegistered(item);
    // The owner may have gone before the watch was set up.
    if (!QDBusConnection(m_connectionName).interface()->isServiceRegistered(busName))
        ownerGone(busName);
}

void StatusNotifierWatcherService::ownerGone(const QString &busName)
{
    QStringList gone;
    {
        const QMutexLocker lock(&m_mutex);
        for (auto it = m_items.begin(); it != m_items.end();) {
            if (it->startsWith(busName + QLatin1Char('/'))) {
                gone.append(*it);
                it = m_items.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (const QString &item : gone)
        emit StatusNotifierItemUnregistered(item);
}

} // namespace vorlie::testing
