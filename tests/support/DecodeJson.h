#pragma once

#include "json/JsonCodec.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <optional>

namespace vorlie::test {

// Decodes one JSON value the way the application meets it: as text read by
// the reader. The value travels inside an array, so scalars work too.
template<typename T>
std::optional<T> decodeJson(const QJsonValue &value)
{
    return decodeOnlyElement<T>(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact));
}

// The same for the text of one value.
template<typename T>
std::optional<T> decodeJson(const char *text)
{
    return decodeOnlyElement<T>(QByteArray("[") + text + "]");
}

} // namespace vorlie::test
