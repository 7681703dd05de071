#include "User.h"

namespace vorlie {

using namespace Qt::StringLiterals;

namespace {

// Absent and null mean "on"; any non-boolean value fails the record.
bool readFlag(JsonView o, QLatin1StringView key, bool &out)
{
    std::optional<bool> flag;
    if (!json::readOptional(o, key, flag))
        return false;
    out = flag.value_or(true);
    return true;
}

} // namespace

std::optional<User> JsonCodec<User>::decode(JsonView o)
{
    if (!o.isObject())
        return std::nullopt;
    User u;
    if (!json::readRequired(o, "id"_L1, u.id) || !json::readRequired(o, "displayName"_L1, u.displayName)
        || !json::readOptional(o, "username"_L1, u.username) || !json::readRequired(o, "avatar"_L1, u.avatar)
        || !json::readOptional(o, "email"_L1, u.email) || !json::readOptional(o, "locale"_L1, u.locale)
        || !json::readOptional(o, "timezone"_L1, u.timezone)
        || !readFlag(o, "notifyStatusReminder"_L1, u.notifyStatusReminder)
        || !readFlag(o, "notifyPartnerStatusChanged"_L1, u.notifyPartnerStatusChanged)
        || !readFlag(o, "notifyAutomationStatusChanged"_L1, u.notifyAutomationStatusChanged)
        || !json::readOptional(o, "lastStatusAt"_L1, u.lastStatusAt) || !json::readRequired(o, "createdAt"_L1, u.createdAt))
        return std::nullopt;
    return u;
}

QJsonValue JsonCodec<User>::encode(const User &u)
{
    QJsonObject o;
    json::write(o, "id"_L1, u.id);
    json::write(o, "displayName"_L1, u.displayName);
    json::writeOptional(o, "username"_L1, u.username);
    json::write(o, "avatar"_L1, u.avatar);
    json::writeOptional(o, "email"_L1, u.email);
    json::writeOptional(o, "locale"_L1, u.locale);
    json::writeOptional(o, "timezone"_L1, u.timezone);
    json::write(o, "notifyStatusReminder"_L1, u.notifyStatusReminder);
    json::write(o, "notifyPartnerStatusChanged"_L1, u.notifyPartnerStatusChanged);
    json::write(o, "notifyAutomationStatusChanged"_L1, u.notifyAutomationStatusChanged);
    json::writeOptional(o, "lastStatusAt"_L1, u.lastStatusAt);
    json::write(o, "createdAt"_L1, u.createdAt);
    return o;
}

} // namespace vorlie
