#include "TransportErrors.h"

namespace vorlie {

APIError mapTransportError(const HttpOutcome &outcome)
{
    switch (outcome.failure) {
    case HttpOutcome::Failure::cancelled:
        return APIError::cancelled();
    case HttpOutcome::Failure::timedOut:
        return APIError::timeout();
    case HttpOutcome::Failure::transport:
        switch (outcome.networkError) {
        case QNetworkReply::RemoteHostClosedError:          // connection dropped during the exchange
        case QNetworkReply::TemporaryNetworkFailureError:   // network went away
        case QNetworkReply::NetworkSessionFailedError:      // no usable network
        case QNetworkReply::BackgroundRequestNotAllowedError: // network use not permitted
        case QNetworkReply::HostNotFoundError:              // how a machine without network shows here
            return APIError::offline();
        default:
            return APIError::unknown(-1);
        }
    case HttpOutcome::Failure::tooLarge:
    case HttpOutcome::Failure::notHttp:
    case HttpOutcome::Failure::none:
        break;
    }
    return APIError::unknown(-1);
}

ServiceError transportFailure(const HttpOutcome &outcome)
{
    const APIError error = mapTransportError(outcome);
    // Offline and time-out say so by their case; a refused connection or any
    // other network error of the way there does not.
    if (outcome.failure == HttpOutcome::Failure::transport && error.kind() == APIError::Kind::unknown)
        return ServiceError::unanswered(error);
    return error;
}

PassThroughError transportPassThrough(const HttpOutcome &outcome)
{
    return PassThroughError{PassThroughError::Origin::transport,
                            QStringLiteral("network error %1").arg(static_cast<int>(outcome.networkError)),
                            mapTransportError(outcome)};
}

} // namespace vorlie
