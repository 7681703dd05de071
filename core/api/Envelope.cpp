#include "Envelope.h"

namespace vorlie {

std::optional<ErrorEnvelope> decodeErrorEnvelope(const QByteArray &body)
{
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(body, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    QJsonObject error;
    ErrorEnvelope envelope;
    if (!json::readRequired(document.object(), QLatin1StringView("error"), error)
        || !json::readRequired(error, QLatin1StringView("code"), envelope.code)
        || !json::readRequired(error, QLatin1StringView("message"), envelope.message))
        return std::nullopt;
    return envelope;
}

} // namespace vorlie
