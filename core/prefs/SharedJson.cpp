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

std::optional<QJsonValue> parse(const QByteArray &data)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError)
        return std::nullopt;
    if (document.isObject())
        return QJsonValue(document.object());
    if (document.isArray())
        return QJsonValue(document.array());
    return std::nullopt;
}

} // namespace vorlie::sharedjson
