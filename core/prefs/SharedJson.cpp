#include "SharedJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace vorlie::sharedjson {

std::optional<QByteArray> serialize(const QJsonValue &value)
{
    if (value.isObject())
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    if (value.isArray())
        return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
    return std::nullopt;
}

std::optional<ParsedJson> parse(const QByteArray &data)
{
    ParsedJson document = ParsedJson::parse(data);
    if (!document.isValid())
        return std::nullopt;
    return document;
}

} // namespace vorlie::sharedjson
