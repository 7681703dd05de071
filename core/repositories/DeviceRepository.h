#pragma once

#include "api/Result.h"

#include <QString>
#include <QCoro/QCoroTask>
#include <optional>

namespace vorlie {

class DeviceRepository {
public:
    virtual ~DeviceRepository() = default;

    // Gives the device id the service assigned.
    virtual QCoro::Task<Result<QString>> registerDevice(QString platform, std::optional<QString> pushToken,
                                                        std::optional<QString> deviceId) = 0;
};

} // namespace vorlie
