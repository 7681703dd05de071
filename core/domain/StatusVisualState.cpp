#include "StatusVisualState.h"

#include <array>

namespace vorlie {
namespace {

struct Badge {
    StatusVisualState state;
    const char *symbol; // nullptr: no badge
    BadgeTint tint;
};

constexpr std::array<Badge, 15> badges{{
    {StatusVisualState::neutral, nullptr, BadgeTint::accent},
    {StatusVisualState::sleepy, "zzz", BadgeTint::accent},
    {StatusVisualState::loving, "heart.fill", BadgeTint::pink},
    {StatusVisualState::shopping, "bag.fill", BadgeTint::accent},
    {StatusVisualState::working, "laptopcomputer", BadgeTint::accent},
    {StatusVisualState::relaxed, nullptr, BadgeTint::accent},
    {StatusVisualState::stressed, "bolt.fill", BadgeTint::orange},
    {StatusVisualState::out, "sparkles", BadgeTint::accent},
    {StatusVisualState::missing, "heart.fill", BadgeTint::pink},
    {StatusVisualState::thinking, "ellipsis.bubble.fill", BadgeTint::accent},
    {StatusVisualState::hungry, "fork.knife", BadgeTint::accent},
    {StatusVisualState::active, "figure.run", BadgeTint::accent},
    {StatusVisualState::studying, "book.fill", BadgeTint::accent},
    {StatusVisualState::happy, "star.fill", BadgeTint::yellow},
    {StatusVisualState::sad, "cloud.rain.fill", BadgeTint::blue},
}};

const Badge *find(StatusVisualState state)
{
    for (const Badge &badge : badges) {
        if (badge.state == state)
            return &badge;
    }
    return nullptr;
}

} // namespace

std::optional<QString> badgeSymbol(StatusVisualState state)
{
    const Badge *badge = find(state);
    if (!badge || !badge->symbol)
        return std::nullopt;
    return QString::fromLatin1(badge->symbol);
}

BadgeTint badgeTint(StatusVisualState state)
{
    const Badge *badge = find(state);
    return badge ? badge->tint : BadgeTint::accent;
}

} // namespace vorlie
