#include "Envelope.h"

namespace vorlie {

std::optional<ErrorEnvelope> decodeErrorEnvelope(const QByteArray &body)
{
    const ParsedJson document = ParsedJson::parse(body);
    const JsonView error = document.root().value(QLatin1StringView("error"));
    ErrorEnvelope envelope;
    if (!error.isObject()
        || !json::readRequired(error, QLatin1StringView("code"), envelope.code)
        || !json::readRequired(error, QLatin1StringView("message"), envelope.message))
        return std::nullopt;
    return envelope;
}

} // namespace vorlie
