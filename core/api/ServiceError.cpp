#include "ServiceError.h"

namespace vorlie {

QString PassThroughError::userMessage() const
{
    return shownAs ? shownAs->userMessage() : APIError::unknown(-1).userMessage();
}

ServiceError ServiceError::unanswered(APIError error)
{
    ServiceError unanswered(std::move(error));
    unanswered.m_unanswered = true;
    return unanswered;
}

bool ServiceError::isUnanswered() const
{
    if (const PassThroughError *other = passThrough())
        return other->origin == PassThroughError::Origin::transport;
    return m_unanswered || is(APIError::Kind::offline) || is(APIError::Kind::timeout);
}

QString ServiceError::userMessage() const
{
    return std::visit([](const auto &e) { return e.userMessage(); }, m_error);
}

QString describe(const ServiceError &error)
{
    if (const auto *api = error.apiError())
        return describe(*api);
    const auto *other = error.passThrough();
    const char *origin = other->origin == PassThroughError::Origin::encoding ? "encoding"
        : other->origin == PassThroughError::Origin::transport              ? "transport"
                                                                            : "decoding";
    return QStringLiteral("%1(%2)").arg(QLatin1String(origin), other->detail);
}

} // namespace vorlie
