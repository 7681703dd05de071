#pragma once

#include "WireEnum.h"

namespace vorlie {

// Declaration order is the order of the picker's category sections.
enum class StatusCategory { mood, activity, location, relationship, custom };

template<>
struct WireNames<StatusCategory> {
    static constexpr std::array<std::pair<StatusCategory, std::string_view>, 5> cases{{
        {StatusCategory::mood, "mood"},
        {StatusCategory::activity, "activity"},
        {StatusCategory::location, "location"},
        {StatusCategory::relationship, "relationship"},
        {StatusCategory::custom, "custom"},
    }};
};

} // namespace vorlie
