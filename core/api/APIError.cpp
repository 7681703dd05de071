#include "APIError.h"

#include <QCoreApplication>

namespace vorlie {

APIError APIError::server(QString code, QString message, int status)
{
    APIError e(Kind::server);
    e.m_code = std::move(code);
    e.m_message = std::move(message);
    e.m_status = status;
    return e;
}

APIError APIError::unknown(int status)
{
    APIError e(Kind::unknown);
    e.m_status = status;
    return e;
}

QString APIError::userMessage() const
{
    switch (m_kind) {
    case Kind::server:
        return m_message;
    case Kind::unknown:
    case Kind::decoding:
        //% "Something went wrong. Please try again."
        return qtTrId("api_error.generic");
    case Kind::offline:
        //% "You appear to be offline."
        return qtTrId("api_error.offline");
    case Kind::timeout:
        //% "The request timed out."
        return qtTrId("api_error.timeout");
    case Kind::cancelled:
        return {};
    case Kind::unauthorized:
        //% "Please sign in again."
        return qtTrId("api_error.unauthorized");
    case Kind::rateLimited:
        //% "Too many requests. Please wait a moment."
        return qtTrId("api_error.rate_limited");
    }
    return qtTrId("api_error.generic");
}

QString describe(const APIError &error)
{
    switch (error.kind()) {
    case APIError::Kind::server:
        return QStringLiteral("server(%1, %2, %3)").arg(error.code(), error.message()).arg(error.status());
    case APIError::Kind::unknown:
        return QStringLiteral("unknown(%1)").arg(error.status());
    case APIError::Kind::offline: return QStringLiteral("offline");
    case APIError::Kind::timeout: return QStringLiteral("timeout");
    case APIError::Kind::cancelled: return QStringLiteral("cancelled");
    case APIError::Kind::decoding: return QStringLiteral("decoding");
    case APIError::Kind::unauthorized: return QStringLiteral("unauthorized");
    case APIError::Kind::rateLimited: return QStringLiteral("rateLimited");
    }
    return QStringLiteral("?");
}

} // namespace vorlie
