#pragma once

#include "json/JsonReader.h"

#include <QByteArray>
#include <QJsonValue>

#include <optional>

namespace vorlie::sharedjson {

// Compact UTF-8 text of a JSON object or array; none for anything else,
// which a JSON document cannot hold at its top.
std::optional<QByteArray> serialize(const QJsonValue &value);
// None unless the whole text is one JSON object or array.
std::optional<ParsedJson> parse(const QByteArray &data);

} // namespace vorlie::sharedjson
