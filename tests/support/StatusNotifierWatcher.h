#pragma once

#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QThread>

namespace vorlie::testing {

// The exported object of StatusNotifierWatcher, on its own thread.
class StatusNotifierWatcherService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ registeredItems)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)

public:
    explicit StatusNotifierWatcherService(QString connectionName);

    QStringList registeredItems() const;
    static bool isHostRegistered() { return true; }
    static int protocolVersion() { return 0; }

    // Run on the service's thread.
    bool open();
    void close();

public slots:
    void RegisterStatusNotifierItem(const QString &busName);

signals:
    void StatusNotifierItemRegistered(const QString &item);
    void StatusNotifierItemUnregistered(const QString &item);

private:
    void ownerGone(const QString &busName);

    const QString m_connectionName;
    mutable QMutex m_mutex; // guards m_items, read from the test's thread
    QStringList m_items;
};

// A StatusNotifierWatcher that is also its own host, as a desktop's panel
// would be: it owns "org.kde.StatusNotifierWatcher" on the session bus and
// keeps the list of registered items. It runs on a thread and a bus
// connection of its own, so a process under test may call it synchronously
// (Qt asks it whether a host is registered before it picks its tray).
class StatusNotifierWatcher {
public:
    StatusNotifierWatcher();
    ~StatusNotifierWatcher();
    StatusNotifierWatcher(const StatusNotifierWatcher &) = delete;
    StatusNotifierWatcher &operator=(const StatusNotifierWatcher &) = delete;

    // False when the name is taken or there is no session bus.
    bool start();
    // Gives the name up, as a panel that goes away.
    void stop();

    // "bus name" + "/object/path" of every registered item, oldest first.
    QStringList registeredItems() const;

private:
    QThread m_thread;
    StatusNotifierWatcherService *m_service = nullptr;
};

} // namespace vorlie::testing
