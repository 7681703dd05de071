#include "SyncSnapshotEncoder.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>

namespace vorlie {
namespace {

using namespace Qt::StringLiterals;

// Whether a part's text reads back as its type, through the store's own
// reader, as the whole document did before it was written in parts. A bare
// string is no JSON document, so the part is read as an array's element.
template<typename T>
bool decodesAgain(const QByteArray &json)
{
    return decodeOnlyElement<T>('[' + json + ']').has_value();
}

// QJsonDocument writes only objects and arrays: a value, which may be a
// plain string, is written as an array's one element without the brackets.
template<typename T>
std::optional<EncodedPart<T>> encodePart(const T &value)
{
    const QByteArray array = QJsonDocument(QJsonArray{JsonCodec<T>::encode(value)}).toJson(QJsonDocument::Compact);
    QByteArray json = array.sliced(1, array.size() - 2);
    if (!decodesAgain<T>(json))
        return std::nullopt;
    return EncodedPart<T>{value, std::move(json)};
}

// The part's text for `value`, encoded anew only when the value changed.
template<typename T>
const QByteArray *refresh(std::optional<EncodedPart<T>> &part, const T &value)
{
    if (!part || !(part->value == value)) {
        auto fresh = encodePart(value);
        if (!fresh)
            return nullptr;
        part = std::move(fresh);
    }
    return &part->json;
}

void appendMember(QByteArray &out, QLatin1StringView key, const QByteArray &json)
{
    out += ",\"";
    out.append(key.data(), key.size());
    out += "\":";
    out += json;
}

} // namespace

bool SyncSnapshotEncoder::refreshConnections(const std::vector<Connection> &connections)
{
    const auto sameAt = [&](size_t i) { return i < m_connections.size() && m_connections[i].value == connections[i]; };
    size_t same = 0;
    while (same < connections.size() && sameAt(same))
        ++same;
    // Most syncs leave every connection as it was.
    if (same == connections.size() && same == m_connections.size())
        return true;

    std::vector<EncodedPart<Connection>> parts;
    parts.reserve(connections.size());
    parts.assign(m_connections.begin(), m_connections.begin() + static_cast<std::ptrdiff_t>(same));
    QHash<QString, const EncodedPart<Connection> *> byId;
    for (const auto &part : m_connections)
        byId.insert(part.value.id, &part);
    for (size_t i = same; i < connections.size(); ++i) {
        const Connection &connection = connections[i];
        if (sameAt(i)) {
            parts.push_back(m_connections[i]);
            continue;
        }
        if (const auto *known = byId.value(connection.id); known && known->value == connection) {
            parts.push_back(*known);
            continue;
        }
        auto fresh = encodePart(connection);
        if (!fresh)
            return false;
        parts.push_back(std::move(*fresh));
    }
    m_connections = std::move(parts);
    return true;
}

std::optional<QByteArray> SyncSnapshotEncoder::encode(const SyncSnapshot &snapshot)
{
    const QByteArray *user = refresh(m_user, snapshot.user);
    const QByteArray *serverTime = refresh(m_serverTime, snapshot.serverTime);
    const QByteArray *mainPerson = snapshot.mainPerson ? refresh(m_mainPerson, *snapshot.mainPerson) : nullptr;
    const QByteArray *mainPersonStatus = snapshot.mainPersonStatus ? refresh(m_mainPersonStatus, *snapshot.mainPersonStatus) : nullptr;
    const QByteArray *ownStatus = snapshot.ownStatus ? refresh(m_ownStatus, *snapshot.ownStatus) : nullptr;
    if (!user || !serverTime || (snapshot.mainPerson && !mainPerson) || (snapshot.mainPersonStatus && !mainPersonStatus)
        || (snapshot.ownStatus && !ownStatus) || !refreshConnections(snapshot.connections))
        return std::nullopt;

    qsizetype size = 128 + user->size() + serverTime->size() + (mainPerson ? mainPerson->size() : 0)
        + (mainPersonStatus ? mainPersonStatus->size() : 0) + (ownStatus ? ownStatus->size() : 0);
    for (const auto &part : m_connections)
        size += part.json.size() + 1;
    QByteArray out;
    out.reserve(size);
    // The keys in QJsonObject's sorted order.
    out += "{\"connections\":[";
    for (size_t i = 0; i < m_connections.size(); ++i) {
        if (i)
            out += ',';
        out += m_connections[i].json;
    }
    out += ']';
    if (mainPerson)
        appendMember(out, "mainPerson"_L1, *mainPerson);
    if (mainPersonStatus)
        appendMember(out, "mainPersonStatus"_L1, *mainPersonStatus);
    if (ownStatus)
        appendMember(out, "ownStatus"_L1, *ownStatus);
    appendMember(out, "serverTime"_L1, *serverTime);
    appendMember(out, "user"_L1, *user);
    out += '}';
    return out;
}

} // namespace vorlie
