#include "PushRegistrar.h"

#include "PushNotificationPayload.h"
#include "prefs/PreferenceKeys.h"
#include "repositories/DeviceRepository.h"

namespace vorlie {

std::optional<QString> PushRegistrar::storedDeviceID(const QString &platform) const
{
    return m_defaults.text(prefkeys::registeredDeviceID(platform));
}

void PushRegistrar::storeDeviceID(const QString &deviceId, const QString &platform) const
{
    m_defaults.setText(prefkeys::registeredDeviceID(platform), deviceId);
}

QCoro::Task<bool> PushRegistrar::requestAuthorization()
{
    if (m_platform.registerForRemoteNotifications)
        m_platform.registerForRemoteNotifications();
    co_return m_platform.notificationsAuthorized && m_platform.notificationsAuthorized();
}

QCoro::Task<void> PushRegistrar::registerDeviceToken(QByteArray token)
{
    std::optional<QString> known = storedDeviceID(platform());
    Result<QString> assigned = co_await m_devices.registerDevice(platform(), deviceTokenText(token), std::move(known));
    if (assigned)
        storeDeviceID(*assigned, platform());
}

} // namespace vorlie
