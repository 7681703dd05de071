#include "Status.h"

namespace vorlie {

using namespace Qt::StringLiterals;

std::optional<Status> JsonCodec<Status>::decode(JsonView o)
{
    if (!o.isObject())
        return std::nullopt;
    Status s;
    if (!json::readRequired(o, "id"_L1, s.id) || !json::readOptional(o, "statusKey"_L1, s.statusKey)
        || !json::readOptional(o, "text"_L1, s.text) || !json::readOptional(o, "emoji"_L1, s.emoji)
        || !json::readRequired(o, "category"_L1, s.category) || !json::readRequired(o, "visualState"_L1, s.visualState)
        || !json::readRequired(o, "source"_L1, s.source) || !json::readRequired(o, "createdAt"_L1, s.createdAt)
        || !json::readRequired(o, "freshness"_L1, s.freshness) || !json::readRequired(o, "isExpired"_L1, s.isExpired))
        return std::nullopt;
    return s;
}

QJsonValue JsonCodec<Status>::encode(const Status &s)
{
    QJsonObject o;
    json::write(o, "id"_L1, s.id);
    json::writeOptional(o, "statusKey"_L1, s.statusKey);
    json::writeOptional(o, "text"_L1, s.text);
    json::writeOptional(o, "emoji"_L1, s.emoji);
    json::write(o, "category"_L1, s.category);
    json::write(o, "visualState"_L1, s.visualState);
    json::write(o, "source"_L1, s.source);
    json::write(o, "createdAt"_L1, s.createdAt);
    json::write(o, "freshness"_L1, s.freshness);
    json::write(o, "isExpired"_L1, s.isExpired);
    return o;
}

} // namespace vorlie
