#pragma once

#include "json/JsonCodec.h"
#include "json/JsonReader.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <optional>

namespace vorlie::test {

// Decodes the one element of a JSON array text; none if the reader refuses it.
template<typename T>
std::optional<T> decodeOnlyElement(const QByteArray &arrayText)
{
    const ParsedJson document = ParsedJson::parse(arrayText);
    if (!document.isValid())
        return std::nullopt;
    return JsonCodec<T>::decode(*document.root().begin());
}

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
