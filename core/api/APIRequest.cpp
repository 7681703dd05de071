#include "APIRequest.h"

#include <QJsonDocument>

namespace vorlie {

Result<QByteArray> AnyEncodable::encode() const
{
    Result<QJsonValue> value = encodeFn();
    if (!value)
        return value.error();
    if (value->isObject())
        return QJsonDocument(value->toObject()).toJson(QJsonDocument::Compact);
    if (value->isArray())
        return QJsonDocument(value->toArray()).toJson(QJsonDocument::Compact);
    return PassThroughError{PassThroughError::Origin::encoding, QStringLiteral("body is not a JSON object or array")};
}

} // namespace vorlie
