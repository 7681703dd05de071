#include "SyncSnapshot.h"

namespace vorlie {

using namespace Qt::StringLiterals;

std::optional<SyncSnapshot> JsonCodec<SyncSnapshot>::decode(JsonView o)
{
    if (!o.isObject())
        return std::nullopt;
    SyncSnapshot s;
    if (!json::readRequired(o, "user"_L1, s.user) || !json::readOptional(o, "mainPerson"_L1, s.mainPerson)
        || !json::readOptional(o, "mainPersonStatus"_L1, s.mainPersonStatus) || !json::readOptional(o, "ownStatus"_L1, s.ownStatus)
        || !json::readRequired(o, "connections"_L1, s.connections) || !json::readRequired(o, "serverTime"_L1, s.serverTime))
        return std::nullopt;
    return s;
}

QJsonValue JsonCodec<SyncSnapshot>::encode(const SyncSnapshot &s)
{
    QJsonObject o;
    json::write(o, "user"_L1, s.user);
    json::writeOptional(o, "mainPerson"_L1, s.mainPerson);
    json::writeOptional(o, "mainPersonStatus"_L1, s.mainPersonStatus);
    json::writeOptional(o, "ownStatus"_L1, s.ownStatus);
    json::write(o, "connections"_L1, s.connections);
    json::write(o, "serverTime"_L1, s.serverTime);
    return o;
}

} // namespace vorlie
