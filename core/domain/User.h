#pragma once

#include "AvatarConfiguration.h"
#include "json/JsonCodec.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace vorlie {

// The signed-in user or any other person, as the service describes them.
struct User {
    QString id;
    QString displayName;
    std::optional<QString> username;
    AvatarConfiguration avatar;
    std::optional<QString> email;
    std::optional<QString> locale;
    std::optional<QString> timezone;
    // A flag the service leaves out counts as switched on.
    bool notifyStatusReminder = true;
    bool notifyPartnerStatusChanged = true;
    bool notifyAutomationStatusChanged = true;
    std::optional<QDateTime> lastStatusAt;
    QDateTime createdAt;

    friend bool operator==(const User &, const User &) = default;
};

template<>
struct JsonCodec<User> {
    static std::optional<User> decode(JsonView value);
    static QJsonValue encode(const User &user);
};

} // namespace vorlie
