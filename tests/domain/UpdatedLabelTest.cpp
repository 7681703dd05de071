#include "DomainFixtures.h"
#include "domain/UpdatedLabel.h"

#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::test;

namespace {

const QDateTime now(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);
const QLocale english(QLocale::English);
const QLocale german(QLocale::German);

std::optional<QString> labelAgo(qint64 seconds, const QLocale &locale = english)
{
    return updatedLabel(now.addSecs(-seconds), now, locale);
}

constexpr qint64 minute = 60;
constexpr qint64 hour = 3600;

} // namespace

TEST(UpdatedLabel, HourThresholdsAreExact)
{
    const FakeTextTable table({{"status.updated_yesterday", QStringLiteral("Gestern")}});
    EXPECT_EQ(labelAgo(24 * hour - minute), QStringLiteral("23 hr. ago"));
    EXPECT_EQ(labelAgo(24 * hour - 1), QStringLiteral("23 hr. ago"));
    EXPECT_EQ(labelAgo(24 * hour), QStringLiteral("Gestern"));
    EXPECT_EQ(labelAgo(48 * hour - minute), QStringLiteral("Gestern"));
    EXPECT_EQ(labelAgo(48 * hour - 1), QStringLiteral("Gestern"));
    EXPECT_EQ(labelAgo(48 * hour), std::nullopt);
    EXPECT_EQ(labelAgo(72 * hour), std::nullopt);
}

TEST(UpdatedLabel, RecentStatusesGetAnAbbreviatedPhraseInTheLocale)
{
    EXPECT_EQ(labelAgo(30 * minute), QStringLiteral("30 min. ago"));
    EXPECT_EQ(labelAgo(30 * minute, german), QStringLiteral("vor 30 Min."));
    EXPECT_EQ(labelAgo(45), QStringLiteral("45 sec. ago"));
    EXPECT_EQ(labelAgo(45, german), QStringLiteral("vor 45 Sek."));
    // Whole units only: 90 minutes is one hour.
    EXPECT_EQ(labelAgo(90 * minute), QStringLiteral("1 hr. ago"));
    EXPECT_EQ(labelAgo(5 * hour, german), QStringLiteral("vor 5 Std."));
    EXPECT_EQ(labelAgo(0), QStringLiteral("0 sec. ago"));
}

TEST(UpdatedLabel, FutureCreationTimeGivesAForwardPhrase)
{
    EXPECT_EQ(labelAgo(-5), QStringLiteral("in 5 sec."));
    EXPECT_EQ(labelAgo(-5, german), QStringLiteral("in 5 Sek."));
    // Clock skew of days is still "less than 24 hours ago": a phrase, no error.
    EXPECT_EQ(labelAgo(-72 * hour), QStringLiteral("in 3 days"));
    EXPECT_EQ(labelAgo(-24 * hour, german), QStringLiteral("in 1 Tag"));
}

TEST(UpdatedLabel, OtherLanguagesFallBackToEnglishWording)
{
    EXPECT_EQ(labelAgo(2 * minute, QLocale(QLocale::French)), QStringLiteral("2 min. ago"));
}
