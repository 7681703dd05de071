#pragma once

#include "SyncSnapshot.h"

#include <QByteArray>
#include <optional>
#include <vector>

namespace vorlie {

// One part of a snapshot's JSON text and the value it was written from.
template<typename T>
struct EncodedPart {
    T value;
    QByteArray json;
};

// The compact JSON text of successive snapshots. The parts (the user, the
// main person, both statuses, each connection, the server time) are kept
// with their values, so a snapshot re-encodes only the parts that changed:
// a sync usually brings a new server time and little else among hundreds of
// connections. The text is the one QJsonDocument gives for the whole
// snapshot, keys in the same sorted order.
class SyncSnapshotEncoder {
public:
    // None when a changed part would not decode again (an invalid instant, a
    // non-finite number), since the store must only ever hold readable data.
    std::optional<QByteArray> encode(const SyncSnapshot &snapshot);

private:
    bool refreshConnections(const std::vector<Connection> &connections);

    std::optional<EncodedPart<User>> m_user;
    std::optional<EncodedPart<MainPerson>> m_mainPerson;
    std::optional<EncodedPart<Status>> m_mainPersonStatus;
    std::optional<EncodedPart<Status>> m_ownStatus;
    std::optional<EncodedPart<QDateTime>> m_serverTime;
    std::vector<EncodedPart<Connection>> m_connections;
};

} // namespace vorlie
