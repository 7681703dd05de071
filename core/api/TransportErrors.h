#pragma once

#include "HttpExchange.h"
#include "ServiceError.h"

namespace vorlie {

// Classifies an exchange that produced no HTTP answer. The five conditions of
// interest (cancelled, timed out, no network, connection dropped, network use
// not permitted) get their own case; everything else is unknown(-1).
APIError mapTransportError(const HttpOutcome &outcome);

// The failure as the pipeline hands it on: an unlisted network error (a
// refused connection, no route) is marked unanswered.
ServiceError transportFailure(const HttpOutcome &outcome);

// The same failure handed on unclassified (the token refresh does that), but
// shown to the user like its classified twin.
PassThroughError transportPassThrough(const HttpOutcome &outcome);

} // namespace vorlie
