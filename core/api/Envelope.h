#pragma once

#include "json/JsonCodec.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QString>
#include <optional>

namespace vorlie {

// {"error": {"code": …, "message": …}}, both members required texts.
struct ErrorEnvelope {
    QString code;
    QString message;
};

std::optional<ErrorEnvelope> decodeErrorEnvelope(const QByteArray &body);

// The "data" member of a {"data": …} body, decoded as T.
template<typename T>
std::optional<T> decodeDataEnvelope(const QByteArray &body)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const auto data = object.constFind(QLatin1StringView("data"));
    if (data == object.constEnd())
        return std::nullopt;
    return JsonCodec<T>::decode(*data);
}

} // namespace vorlie
