#pragma once

#include "User.h"
#include "WireEnum.h"
#include "json/JsonCodec.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace vorlie {

enum class ConnectionState { pending, accepted, blocked };

template<>
struct WireNames<ConnectionState> {
    static constexpr std::array<std::pair<ConnectionState, std::string_view>, 3> cases{{
        {ConnectionState::pending, "pending"},
        {ConnectionState::accepted, "accepted"},
        {ConnectionState::blocked, "blocked"},
    }};
};

// A link between the user and `person`, the other party.
struct Connection {
    QString id;
    ConnectionState state = ConnectionState::pending;
    User person;
    QDateTime createdAt;
    std::optional<QDateTime> acceptedAt;

    friend bool operator==(const Connection &, const Connection &) = default;
};

// The connection the user follows in the menu bar and the widget. Kept next
// to Connection because it only ever points at one by `connectionId`.
struct MainPerson {
    QString connectionId;
    User person;
    std::optional<QDateTime> selectedAt;

    friend bool operator==(const MainPerson &, const MainPerson &) = default;
};

template<>
struct JsonCodec<Connection> {
    static std::optional<Connection> decode(JsonView value);
    static QJsonValue encode(const Connection &connection);
};

template<>
struct JsonCodec<MainPerson> {
    static std::optional<MainPerson> decode(JsonView value);
    static QJsonValue encode(const MainPerson &mainPerson);
};

} // namespace vorlie
