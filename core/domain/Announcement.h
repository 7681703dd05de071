#pragma once

#include "WireEnum.h"
#include "json/JsonCodec.h"

#include <QString>
#include <optional>

namespace vorlie {

// A short notice from the service; held and replaced, never shown.
struct Announcement {
    enum class Kind { info, warning, alert };

    QString id;
    Kind type = Kind::info;
    QString message;

    friend bool operator==(const Announcement &, const Announcement &) = default;
};

template<>
struct WireNames<Announcement::Kind> {
    static constexpr std::array<std::pair<Announcement::Kind, std::string_view>, 3> cases{{
        {Announcement::Kind::info, "info"},
        {Announcement::Kind::warning, "warning"},
        {Announcement::Kind::alert, "alert"},
    }};
};

template<>
struct JsonCodec<Announcement> {
    static std::optional<Announcement> decode(JsonView value);
    static QJsonValue encode(const Announcement &announcement);
};

} // namespace vorlie
