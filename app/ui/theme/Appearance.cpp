#include "Appearance.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

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

Appearance::Appearance(Source source, QObject *parent)
    : QObject(parent)
    , m_reduceMotion(qEnvironmentVariable("VORLIE_REDUCE_MOTION") == QLatin1String("1"))
{
    if (source == Source::fixed)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"), this,
                SLOT(onSettingChanged(QString, QString, QDBusVariant)));
    readSetting(appearanceNamespace, colorSchemeKey);
    readSetting(interfaceNamespace, animationsKey);
}

void Appearance::setColorScheme(ColorScheme scheme)
{
    if (m_colorScheme == scheme)
        return;
    m_colorScheme = scheme;
    emit colorSchemeChanged();
}

void Appearance::setReduceMotion(bool reduce)
{
    if (m_reduceMotion == reduce)
        return;
    m_reduceMotion = reduce;
    emit reduceMotionChanged();
}

void Appearance::onSettingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value)
{
    apply(nameSpace, key, unwrap(value.variant()));
}

// Asynchronous, so a slow or absent portal never delays the first frame.
void Appearance::readSetting(const QString &nameSpace, const QString &key)
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

void Appearance::apply(const QString &nameSpace, const QString &key, const QVariant &value)
{
    if (nameSpace == appearanceNamespace && key == colorSchemeKey) {
        bool ok = false;
        const uint scheme = value.toUInt(&ok);
        setColorScheme(ok && scheme <= 2 ? static_cast<ColorScheme>(scheme) : ColorScheme::noPreference);
    } else if (nameSpace == interfaceNamespace && key == animationsKey && value.userType() == QMetaType::Bool) {
        setReduceMotion(!value.toBool());
    }
}

} // namespace vorlie
