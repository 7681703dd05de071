#pragma once

#include "prefs/SharedDefaults.h"

#include <QByteArray>
#include <QCoro/QCoroTask>

namespace vorlie {

class DeviceRepository;

// Registers this machine for push with the service and remembers the device
// id it was given ("registeredDeviceID.<platform>"), so later registrations
// update the same device record.
class PushRegistrar {
public:
    // The platform text the service knows this application by.
    static QString platform() { return QStringLiteral("macos_direct"); }

    PushRegistrar(SharedDefaults defaults, DeviceRepository &devices) : m_defaults(std::move(defaults)), m_devices(devices) {}

    std::optional<QString> storedDeviceID(const QString &platform) const;
    void storeDeviceID(const QString &deviceId, const QString &platform) const;

    // For each device token the push transport delivers. A failure stores
    // nothing and is not retried; the next token registers again.
    QCoro::Task<void> registerDeviceToken(QByteArray token);

private:
    SharedDefaults m_defaults;
    DeviceRepository &m_devices;
};

} // namespace vorlie
