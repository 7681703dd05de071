#pragma once

#include "WireEnum.h"

namespace vorlie {

// How a status came about; the picker always sets `manual`.
enum class StatusSource { manual, location, automation };

template<>
struct WireNames<StatusSource> {
    static constexpr std::array<std::pair<StatusSource, std::string_view>, 3> cases{{
        {StatusSource::manual, "manual"},
        {StatusSource::location, "location"},
        {StatusSource::automation, "automation"},
    }};
};

} // namespace vorlie
