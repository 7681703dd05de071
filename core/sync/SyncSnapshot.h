#pragma once

#include "domain/Connection.h"
#include "domain/Status.h"
#include "domain/User.h"
#include "json/JsonCodec.h"

#include <QDateTime>
#include <optional>
#include <tuple>
#include <vector>

namespace vorlie {

// Everything the home screens show, as one answer of the service's sync.
struct SyncSnapshot {
    User user;
    std::optional<MainPerson> mainPerson;
    std::optional<Status> mainPersonStatus;
    std::optional<Status> ownStatus;
    std::vector<Connection> connections;
    QDateTime serverTime;

    // Everything but the server time: what a person is shown.
    auto content() const { return std::tie(user, mainPerson, mainPersonStatus, ownStatus, connections); }

    friend bool operator==(const SyncSnapshot &, const SyncSnapshot &) = default;
};

template<>
struct JsonCodec<SyncSnapshot> {
    static std::optional<SyncSnapshot> decode(JsonView value);
    static QJsonValue encode(const SyncSnapshot &snapshot);
};

} // namespace vorlie
