#pragma once

#include "DeviceInfo.h"
#include "DeviceRepository.h"

#include <functional>

namespace vorlie {

class APIClient;

class RemoteDeviceRepository final : public DeviceRepository {
public:
    explicit RemoteDeviceRepository(const APIClient &apiClient,
                                    std::function<DeviceInfo()> deviceInfo = &DeviceInfo::current);

    QCoro::Task<Result<QString>> registerDevice(QString platform, std::optional<QString> pushToken,
                                                std::optional<QString> deviceId) override;

private:
    const APIClient &m_apiClient;
    std::function<DeviceInfo()> m_deviceInfo;
};

} // namespace vorlie
