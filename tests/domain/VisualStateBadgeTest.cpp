#include "support/DecodeJson.h"
#include "domain/StatusVisualState.h"

#include <gtest/gtest.h>

using namespace vorlie;
using vorlie::test::decodeJson;

TEST(VisualStateBadge, NeutralAndRelaxedHaveNoBadge)
{
    EXPECT_FALSE(badgeSymbol(StatusVisualState::neutral));
    EXPECT_FALSE(badgeSymbol(StatusVisualState::relaxed));
}

TEST(VisualStateBadge, EveryOtherMoodHasItsSymbolAndTint)
{
    using V = StatusVisualState;
    const struct {
        V state;
        const char *symbol;
        BadgeTint tint;
    } expected[] = {
        {V::sleepy, "zzz", BadgeTint::accent},
        {V::loving, "heart.fill", BadgeTint::pink},
        {V::shopping, "bag.fill", BadgeTint::accent},
        {V::working, "laptopcomputer", BadgeTint::accent},
        {V::stressed, "bolt.fill", BadgeTint::orange},
        {V::out, "sparkles", BadgeTint::accent},
        {V::missing, "heart.fill", BadgeTint::pink},
        {V::thinking, "ellipsis.bubble.fill", BadgeTint::accent},
        {V::hungry, "fork.knife", BadgeTint::accent},
        {V::active, "figure.run", BadgeTint::accent},
        {V::studying, "book.fill", BadgeTint::accent},
        {V::happy, "star.fill", BadgeTint::yellow},
        {V::sad, "cloud.rain.fill", BadgeTint::blue},
    };
    // 13 with a badge plus the two without: all 15 moods.
    ASSERT_EQ(std::size(expected) + 2, allCases<V>().size());
    for (const auto &row : expected) {
        SCOPED_TRACE(row.symbol);
        EXPECT_EQ(badgeSymbol(row.state), QString::fromLatin1(row.symbol));
        EXPECT_EQ(badgeTint(row.state), row.tint);
    }
}

TEST(VisualStateBadge, DecodedMoodDrivesTheBadge)
{
    const auto sad = decodeJson<StatusVisualState>(QJsonValue(QStringLiteral("sad")));
    ASSERT_TRUE(sad);
    EXPECT_EQ(badgeSymbol(*sad), QStringLiteral("cloud.rain.fill"));
    EXPECT_EQ(badgeTint(*sad), BadgeTint::blue);
    const auto neutral = decodeJson<StatusVisualState>(QJsonValue(QStringLiteral("neutral")));
    ASSERT_TRUE(neutral);
    EXPECT_FALSE(badgeSymbol(*neutral));
}
