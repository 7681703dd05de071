#pragma once

#include "json/JsonCodec.h"

#include <QJsonValue>
#include <QString>

#include <array>
#include <optional>
#include <string_view>
#include <type_traits>
#include <utility>

namespace vorlie {

// One table per enumeration maps each case to its wire string; both coding
// directions read the same table, so a case cannot be spelt differently on
// the way in and on the way out. Specialise with
//   static constexpr std::array<std::pair<E, std::string_view>, N> cases{...};
// listing every case in declaration order.
template<typename E>
struct WireNames;

template<typename E>
concept WireEnum = std::is_enum_v<E> && requires { WireNames<E>::cases; };

template<WireEnum E>
QString rawValue(E value)
{
    for (const auto &[item, raw] : WireNames<E>::cases) {
        if (item == value)
            return QString::fromLatin1(raw.data(), static_cast<qsizetype>(raw.size()));
    }
    return {};
}

// The case whose wire string `matches` accepts.
template<WireEnum E, typename Matches>
std::optional<E> findCase(Matches matches)
{
    for (const auto &[item, name] : WireNames<E>::cases) {
        if (matches(QLatin1StringView(name.data(), static_cast<qsizetype>(name.size()))))
            return item;
    }
    return std::nullopt;
}

// Exact and case-sensitive: the service never sends any other spelling.
template<WireEnum E>
std::optional<E> fromRawValue(QStringView raw)
{
    return findCase<E>([raw](QLatin1StringView name) { return raw == name; });
}

template<WireEnum E>
constexpr auto allCases()
{
    std::array<E, WireNames<E>::cases.size()> out{};
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = WireNames<E>::cases[i].first;
    return out;
}

template<WireEnum E>
struct JsonCodec<E> {
    static std::optional<E> decode(JsonView v)
    {
        return findCase<E>([v](QLatin1StringView name) { return v.equals(name); });
    }
    static QJsonValue encode(E value) { return rawValue(value); }
};

} // namespace vorlie
