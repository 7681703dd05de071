#include "AppearancePortal.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace vorlie {
namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceNamespace = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");
const QString interfaceNamespace = QStringLiteral("org.gnome.desktop.interface");
const QString animationsKey = QStringLiteral("enable-animations");

// The portal's Read wraps its answer in one variant more than ReadOne does;
// accept any depth.
QVariant unwrap(QVariant value)
{
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

} // namespace

AppearancePortal::AppearancePortal(QObject *parent)
    : QObject(parent)
{
}

void AppearancePortal::start()
{
    if (qEnvironmentVariable("VORLIE_REDUCE_MOTION") == QLatin1String("1"))
        emit reduceMotionRead(true);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"), this,
                SLOT(onSettingChanged(QString, QString, QDBusVariant)));
    readSetting(appearanceNamespace, colorSchemeKey);
    readSetting(interfaceNamespace, animationsKey);
}

void AppearancePortal::onSettingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value)
{
    apply(nameSpace, key, unwrap(value.variant()));
}

// Asynchronous, so a slow or absent portal never delays the first frame.
void AppearancePortal::readSetting(const QString &nameSpace, const QString &key)
{
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface,
                                                       QStringLiteral("Read"));
    call << nameSpace << key;
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call, 2000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, nameSpace, key] {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *watcher;
        if (reply.isValid())
            apply(nameSpace, key, unwrap(reply.value().variant()));
    });
}

void AppearancePortal::apply(const QString &nameSpace, const QString &key, const QVariant &value)
{
    if (nameSpace == appearanceNamespace && key == colorSchemeKey) {
        bool ok = false;
        const uint scheme = value.toUInt(&ok);
        emit colorSchemeRead(ok && scheme <= 2 ? int(scheme) : 0);
    } else if (nameSpace == interfaceNamespace && key == animationsKey && value.userType() == QMetaType::Bool) {
        emit reduceMotionRead(!value.toBool());
    }
}

} // namespace vorlie
