#include "DesktopNotifications.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace vorlie {

namespace {
const QString defaultAction = QStringLiteral("default");
} // namespace

DesktopNotifications::DesktopNotifications(QDBusConnection bus, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
    if (!m_bus.isConnected())
        return;
    // Bound to the server's name, so another client cannot fake a tap.
    const QString service = QString::fromLatin1(serviceName);
    const QString path = QString::fromLatin1(objectPath);
    const QString interface = QString::fromLatin1(interfaceName);
    m_bus.connect(service, path, interface, QStringLiteral("ActionInvoked"), this, SLOT(onActionInvoked(uint,QString)));
    m_bus.connect(service, path, interface, QStringLiteral("NotificationClosed"), this, SLOT(onNotificationClosed(uint,uint)));
}

bool DesktopNotifications::isServerPresent() const
{
    if (!m_bus.isConnected())
        return false;
    const QDBusConnectionInterface *daemon = m_bus.interface();
    if (!daemon)
        return false;
    const QString service = QString::fromLatin1(serviceName);
    if (daemon->isServiceRegistered(service).value())
        return true;
    const QDBusReply<QStringList> activatable = daemon->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(service);
}

void DesktopNotifications::show(const QString &title, const QString &body, const QVariantMap &userInfo)
{
    if (!m_bus.isConnected())
        return;
    QDBusMessage notify = QDBusMessage::createMethodCall(QString::fromLatin1(serviceName), QString::fromLatin1(objectPath),
                                                         QString::fromLatin1(interfaceName), QStringLiteral("Notify"));
    // Servers may read the body as markup; a custom status is the sender's
    // free text and must show as text, never as a link or formatting.
    // Every notification is a message from someone: the desktop's sound for one.
    const QVariantMap hints{{QStringLiteral("sound-name"), QStringLiteral("message-new-instant")}};
    notify.setArguments({QStringLiteral("vorlie"), 0u, QString(), title, body.toHtmlEscaped(),
                         QStringList{defaultAction, qtTrId("notification.open")}, hints, -1});
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(notify), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, userInfo](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<uint> reply = *call;
        // No server, or one that refused: nothing was shown, nothing to remember.
        if (reply.isError())
            return;
        m_shown.insert(reply.value(), userInfo);
    });
}

void DesktopNotifications::onActionInvoked(uint id, const QString &actionKey)
{
    if (actionKey != defaultAction)
        return;
    const auto shown = m_shown.find(id);
    if (shown == m_shown.end())
        return;
    // Acted on once, even if the server repeats itself.
    const QVariantMap userInfo = *shown;
    m_shown.erase(shown);
    emit tapped(userInfo);
}

void DesktopNotifications::onNotificationClosed(uint id, uint reason)
{
    Q_UNUSED(reason)
    m_shown.remove(id);
}

} // namespace vorlie
