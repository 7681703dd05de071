#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QVariantMap>

namespace vorlie {

// Desktop notifications through the session's notification server. With no
// server, or no bus, show() does nothing: notifications are a courtesy, and
// the app keeps working without them.
class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    static constexpr const char *serviceName = "org.freedesktop.Notifications";
    static constexpr const char *objectPath = "/org/freedesktop/Notifications";
    static constexpr const char *interfaceName = "org.freedesktop.Notifications";

    explicit DesktopNotifications(QDBusConnection bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);

    // Whether a server runs now or would be started on the first notification.
    bool isServerPresent() const;
    // Shown with the desktop's sound for an instant message. `userInfo`
    // comes back with tapped() when the user opens this notification.
    void show(const QString &title, const QString &body, const QVariantMap &userInfo);

signals:
    void tapped(const QVariantMap &userInfo);

private slots:
    void onActionInvoked(uint id, const QString &actionKey);
    void onNotificationClosed(uint id, uint reason);

private:
    QDBusConnection m_bus;
    QHash<uint, QVariantMap> m_shown; // notification id → user info, until closed
};

} // namespace vorlie
