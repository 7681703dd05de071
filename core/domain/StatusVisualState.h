#pragma once

#include "WireEnum.h"

#include <QString>
#include <optional>

namespace vorlie {

// The mood a status expresses, drawn as a badge on the avatar.
enum class StatusVisualState {
    neutral,
    sleepy,
    loving,
    shopping,
    working,
    relaxed,
    stressed,
    out,
    missing,
    thinking,
    hungry,
    active,
    studying,
    happy,
    sad,
};

template<>
struct WireNames<StatusVisualState> {
    static constexpr std::array<std::pair<StatusVisualState, std::string_view>, 15> cases{{
        {StatusVisualState::neutral, "neutral"},
        {StatusVisualState::sleepy, "sleepy"},
        {StatusVisualState::loving, "loving"},
        {StatusVisualState::shopping, "shopping"},
        {StatusVisualState::working, "working"},
        {StatusVisualState::relaxed, "relaxed"},
        {StatusVisualState::stressed, "stressed"},
        {StatusVisualState::out, "out"},
        {StatusVisualState::missing, "missing"},
        {StatusVisualState::thinking, "thinking"},
        {StatusVisualState::hungry, "hungry"},
        {StatusVisualState::active, "active"},
        {StatusVisualState::studying, "studying"},
        {StatusVisualState::happy, "happy"},
        {StatusVisualState::sad, "sad"},
    }};
};

// Named colours; the theme decides their exact shades.
enum class BadgeTint { accent, pink, orange, yellow, blue };

// Symbol-image name of the badge, or none when the mood has no badge at all
// (the view then draws nothing, not an empty badge).
std::optional<QString> badgeSymbol(StatusVisualState state);
// Only meaningful when badgeSymbol() has a value; badge-less moods give accent.
BadgeTint badgeTint(StatusVisualState state);

} // namespace vorlie
