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

TEST(UpdatedLabel, AFutureCreationTimeReadsAsNow)
{
    // A service clock ahead of ours, by a second or by days.
    const struct {
        qint64 secondsAhead;
        const QLocale &locale;
        const char *expected;
    } cases[] = {
        {1, english, "now"},
        {5, english, "now"},
        {5, german, "jetzt"},
        {24 * hour, german, "jetzt"},
        {72 * hour, english, "now"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(labelAgo(-c.secondsAhead, c.locale), QString::fromUtf8(c.expected)) << c.secondsAhead;
    // The very moment itself is still counted.
    EXPECT_EQ(labelAgo(0, german), QStringLiteral("vor 0 Sek."));
}

TEST(UpdatedLabel, OtherLanguagesFallBackToEnglishWording)
{
    EXPECT_EQ(labelAgo(2 * minute, QLocale(QLocale::French)), QStringLiteral("2 min. ago"));
}
