#pragma once

#include "json/JsonCodec.h"
#include "json/JsonReader.h"

#include <QByteArray>
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
    const ParsedJson document = ParsedJson::parse(body);
    const JsonView data = document.root().value(QLatin1StringView("data"));
    if (data.isUndefined())
        return std::nullopt;
    return JsonCodec<T>::decode(data);
}

} // namespace vorlie
