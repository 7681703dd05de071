#pragma once

#include "APIError.h"

#include <QString>
#include <optional>
#include <variant>

namespace vorlie {

// A failure that the pipeline hands on without classifying it: a request body
// that cannot be encoded, or the token refresh's own transport or decoding
// failure. Kept apart from APIError so callers can tell them from the eight
// classified cases, yet still showable.
struct PassThroughError {
    enum class Origin { encoding, transport, decoding };
    Origin origin;
    QString detail; // technical description, never shown verbatim and never holding a token
    // What the user is told: a transport failure reads like its classified
    // twin (offline, timeout); anything else reads as the generic text.
    std::optional<APIError> shownAs = std::nullopt;

    QString userMessage() const;
    friend bool operator==(const PassThroughError &, const PassThroughError &) = default;
};

// What a service call can fail with.
class ServiceError {
public:
    ServiceError(APIError error) : m_error(std::move(error)) {} // NOLINT(google-explicit-constructor)
    ServiceError(PassThroughError error) : m_error(std::move(error)) {} // NOLINT(google-explicit-constructor)
    // An exchange that got no answer at all: no network, no route to the
    // service, refused, or silent past its time-out.
    static ServiceError unanswered(APIError error);

    // The classified error, or nullptr for a pass-through failure.
    const APIError *apiError() const { return std::get_if<APIError>(&m_error); }
    const PassThroughError *passThrough() const { return std::get_if<PassThroughError>(&m_error); }
    bool is(APIError::Kind kind) const { return apiError() && apiError()->kind() == kind; }
    // Whether the service was never reached, so what is shown may be out of
    // date only because of the way there, not because the service refused.
    bool isUnanswered() const;

    QString userMessage() const;

    friend bool operator==(const ServiceError &, const ServiceError &) = default;

private:
    std::variant<APIError, PassThroughError> m_error;
    bool m_unanswered = false;
};

QString describe(const ServiceError &error);

} // namespace vorlie
