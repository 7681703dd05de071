#include "WidgetSnapshot.h"

namespace vorlie {

using namespace Qt::StringLiterals;

std::optional<WidgetSnapshot> JsonCodec<WidgetSnapshot>::decode(JsonView o)
{
    if (!o.isObject())
        return std::nullopt;
    WidgetSnapshot s;
    if (!json::readRequired(o, "personID"_L1, s.personID) || !json::readRequired(o, "displayName"_L1, s.displayName)
        || !json::readRequired(o, "avatar"_L1, s.avatar) || !json::readRequired(o, "statusText"_L1, s.statusText)
        || !json::readOptional(o, "emoji"_L1, s.emoji) || !json::readRequired(o, "visualState"_L1, s.visualState)
        || !json::readRequired(o, "updatedAt"_L1, s.updatedAt) || !json::readRequired(o, "isExpired"_L1, s.isExpired)
        || !json::readOptional(o, "avatarImageData"_L1, s.avatarImageData)
        || !json::readOptional(o, "offlineUpdatedAt"_L1, s.offlineUpdatedAt))
        return std::nullopt;
    return s;
}

QJsonValue JsonCodec<WidgetSnapshot>::encode(const WidgetSnapshot &s)
{
    QJsonObject o;
    json::write(o, "personID"_L1, s.personID);
    json::write(o, "displayName"_L1, s.displayName);
    json::write(o, "avatar"_L1, s.avatar);
    json::write(o, "statusText"_L1, s.statusText);
    json::writeOptional(o, "emoji"_L1, s.emoji);
    json::write(o, "visualState"_L1, s.visualState);
    json::write(o, "updatedAt"_L1, s.updatedAt);
    json::write(o, "isExpired"_L1, s.isExpired);
    json::writeOptional(o, "avatarImageData"_L1, s.avatarImageData);
    json::writeOptional(o, "offlineUpdatedAt"_L1, s.offlineUpdatedAt);
    return o;
}

} // namespace vorlie
