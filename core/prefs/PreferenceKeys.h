#pragma once

#include <QString>

namespace vorlie::prefkeys {

// Every preference key of the system, so the writer and the readers in the
// other process cannot drift apart.

// Application group store.
inline QString syncSnapshot() { return QStringLiteral("cache.syncSnapshot"); }
inline QString widgetSnapshot() { return QStringLiteral("widgetSnapshot.mainPerson"); }
inline QString registeredDeviceID(const QString &platform)
{
    return QStringLiteral("registeredDeviceID.") + platform;
}
inline QString appLanguage() { return QStringLiteral("appLanguage"); }

// Application's own store.
inline QString menuBarIconEnabled() { return QStringLiteral("mac.menuBarIconEnabled"); }
inline QString recentStatusKeys() { return QStringLiteral("statusPicker.recentKeys"); }

} // namespace vorlie::prefkeys
