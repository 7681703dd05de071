#pragma once

#include "HTTPMethod.h"
#include "Result.h"
#include "json/JsonCodec.h"

#include <QMap>
#include <QString>
#include <functional>
#include <optional>

namespace vorlie {

// A request body of any record type with a JsonCodec; encoding may fail and
// that failure reaches the caller unchanged.
class AnyEncodable {
public:
    template<typename T>
    explicit AnyEncodable(T value)
        : encodeFn([v = std::move(value)]() -> Result<QJsonValue> { return JsonCodec<T>::encode(v); })
    {
    }

    std::function<Result<QJsonValue>()> encodeFn;

    // Compact UTF-8 JSON; only objects and arrays make a body.
    Result<QByteArray> encode() const;
};

struct APIRequest {
    HTTPMethod method = HTTPMethod::get;
    QString path; // below the base URL, no leading slash; slashes separate segments
    QMap<QString, QString> query;
    std::optional<AnyEncodable> body;
    bool requiresAuth = true;
};

} // namespace vorlie
