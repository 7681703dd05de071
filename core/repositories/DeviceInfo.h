#pragma once

#include <QString>
#include <optional>

namespace vorlie {

// What a device registration tells the service about this machine.
struct DeviceInfo {
    std::optional<QString> appVersion;
    std::optional<QString> osVersion;
    std::optional<QString> locale;
    std::optional<QString> timezone;

    // The running process: application version, distribution name and
    // version, system locale ("de_AT") and IANA time zone.
    static DeviceInfo current();
};

} // namespace vorlie
