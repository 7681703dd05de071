#include "Connection.h"

namespace vorlie {

using namespace Qt::StringLiterals;

std::optional<Connection> JsonCodec<Connection>::decode(JsonView o)
{
    if (!o.isObject())
        return std::nullopt;
    Connection c;
    if (!json::readRequired(o, "id"_L1, c.id) || !json::readRequired(o, "state"_L1, c.state)
        || !json::readRequired(o, "person"_L1, c.person) || !json::readRequired(o, "createdAt"_L1, c.createdAt)
        || !json::readOptional(o, "acceptedAt"_L1, c.acceptedAt))
        return std::nullopt;
    return c;
}

QJsonValue JsonCodec<Connection>::encode(const Connection &c)
{
    QJsonObject o;
    json::write(o, "id"_L1, c.id);
    json::write(o, "state"_L1, c.state);
    json::write(o, "person"_L1, c.person);
    json::write(o, "createdAt"_L1, c.createdAt);
    json::writeOptional(o, "acceptedAt"_L1, c.acceptedAt);
    return o;
}

std::optional<MainPerson> JsonCodec<MainPerson>::decode(JsonView o)
{
    if (!o.isObject())
        return std::nullopt;
    MainPerson m;
    if (!json::readRequired(o, "connectionId"_L1, m.connectionId) || !json::readRequired(o, "person"_L1, m.person)
        || !json::readOptional(o, "selectedAt"_L1, m.selectedAt))
        return std::nullopt;
    return m;
}

QJsonValue JsonCodec<MainPerson>::encode(const MainPerson &m)
{
    QJsonObject o;
    json::write(o, "connectionId"_L1, m.connectionId);
    json::write(o, "person"_L1, m.person);
    json::writeOptional(o, "selectedAt"_L1, m.selectedAt);
    return o;
}

} // namespace vorlie
