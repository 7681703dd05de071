#pragma once

#include "WireEnum.h"

namespace vorlie {

// Judged by the service only; the client has no thresholds of its own and
// never derives it from the creation time.
enum class StatusFreshness { fresh, aging, stale, expired };

template<>
struct WireNames<StatusFreshness> {
    static constexpr std::array<std::pair<StatusFreshness, std::string_view>, 4> cases{{
        {StatusFreshness::fresh, "fresh"},
        {StatusFreshness::aging, "aging"},
        {StatusFreshness::stale, "stale"},
        {StatusFreshness::expired, "expired"},
    }};
};

} // namespace vorlie
