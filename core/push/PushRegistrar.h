#pragma once

#include "prefs/SharedDefaults.h"

#include <QByteArray>
#include <QCoro/QCoroTask>
#include <functional>

namespace vorlie {

class DeviceRepository;

// What the desktop offers for push: a request for a device token (which
// arrives later through the application delegate), and whether
// notifications can be shown at all.
struct PushPlatform {
    std::function<void()> registerForRemoteNotifications;
    std::function<bool()> notificationsAuthorized;
};

// Registers this machine for push with the service and remembers the device
// id it was given ("registeredDeviceID.<platform>"), so later registrations
// update the same device record.
class PushRegistrar {
public:
    // The platform text the service knows this application by.
    static QString platform() { return QStringLiteral("macos_direct"); }

    PushRegistrar(SharedDefaults defaults, DeviceRepository &devices, PushPlatform platform = {})
        : m_defaults(std::move(defaults)), m_devices(devices), m_platform(std::move(platform))
    {
    }

    // Asks for a device token, then tells whether notifications may be
    // shown. The desktop has no permission dialogue: they may when a
    // notification server is there.
    QCoro::Task<bool> requestAuthorization();

    std::optional<QString> storedDeviceID(const QString &platform) const;
    void storeDeviceID(const QString &deviceId, const QString &platform) const;

    // For each device token the push transport delivers. A failure stores
    // nothing and is not retried; the next token registers again.
    QCoro::Task<void> registerDeviceToken(QByteArray token);

private:
    SharedDefaults m_defaults;
    DeviceRepository &m_devices;
    PushPlatform m_platform;
};

} // namespace vorlie
