#include "Announcement.h"

namespace vorlie {

using namespace Qt::StringLiterals;

std::optional<Announcement> JsonCodec<Announcement>::decode(JsonView o)
{
    if (!o.isObject())
        return std::nullopt;
    Announcement a;
    if (!json::readRequired(o, "id"_L1, a.id) || !json::readRequired(o, "type"_L1, a.type)
        || !json::readRequired(o, "message"_L1, a.message))
        return std::nullopt;
    return a;
}

QJsonValue JsonCodec<Announcement>::encode(const Announcement &a)
{
    QJsonObject o;
    json::write(o, "id"_L1, a.id);
    json::write(o, "type"_L1, a.type);
    json::write(o, "message"_L1, a.message);
    return o;
}

} // namespace vorlie
