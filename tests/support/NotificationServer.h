#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace vorlie::testing {

// A small desktop notification server: owns the well-known name on a bus
// connection of its own, records what it was asked to show and can report
// clicks and closes like a real one.
struct ShownNotification {
    uint id = 0;
    QString appName;
    uint replacesId = 0;
    QString summary;
    QString body;
    QStringList actions;
    QVariantMap hints;
    int expireTimeout = 0;
};

class NotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit NotificationServer(QDBusConnection &bus)
        : m_bus(bus)
    {
    }

    bool start()
    {
        return m_bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this, QDBusConnection::ExportAllSlots)
            && m_bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
    }

    void invokeAction(uint id, const QString &key) { emitSignal(QStringLiteral("ActionInvoked"), {id, key}); }
    void close(uint id) { emitSignal(QStringLiteral("NotificationClosed"), {id, 2u}); }

    QList<ShownNotification> shown;

public slots:
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary, const QString &body,
                const QStringList &actions, const QVariantMap &hints, int expireTimeout)
    {
        Q_UNUSED(appIcon)
        shown.append(ShownNotification{m_nextId, appName, replacesId, summary, body, actions, hints, expireTimeout});
        return m_nextId++;
    }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }

private:
    void emitSignal(const QString &name, const QVariantList &arguments)
    {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                                         QStringLiteral("org.freedesktop.Notifications"), name);
        signal.setArguments(arguments);
        m_bus.send(signal);
    }

    QDBusConnection &m_bus;
    uint m_nextId = 41;
};

} // namespace vorlie::testing
