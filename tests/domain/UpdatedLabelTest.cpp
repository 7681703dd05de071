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

TEST(UpdatedLabel, RecentFutureAndDayOldTimesReadInTheLocaleAndOlderOnesNotAtAll)
{
    const FakeTextTable table({{"status.updated_yesterday", QStringLiteral("Gestern")}});
    const struct {
        qint64 secondsAgo; // below zero: a service clock ahead of ours
        const QLocale &locale;
        const char *expected; // null: no label
    } cases[] = {
        {24 * hour - minute, english, "23 hr. ago"},
        {24 * hour - 1, english, "23 hr. ago"},
        {24 * hour, english, "Gestern"},
        {48 * hour - 1, english, "Gestern"},
        {48 * hour, english, nullptr},
        {72 * hour, english, nullptr},
        {30 * minute, english, "30 min. ago"},
        {30 * minute, german, "vor 30 Min."},
        {45, english, "45 sec. ago"},
        {45, german, "vor 45 Sek."},
        {90 * minute, english, "1 hr. ago"}, // whole units only
        {5 * hour, german, "vor 5 Std."},
        {0, english, "0 sec. ago"}, // the very moment itself is still counted
        {0, german, "vor 0 Sek."},
        {-1, english, "now"},
        {-24 * hour, german, "jetzt"},
        {-72 * hour, english, "now"},
        {2 * minute, QLocale(QLocale::French), "2 min. ago"}, // other languages fall back to English wording
    };
    for (const auto &c : cases)
        EXPECT_EQ(labelAgo(c.secondsAgo, c.locale), c.expected ? std::optional(QString::fromUtf8(c.expected)) : std::nullopt)
            << c.secondsAgo << " " << c.locale.name().toStdString();
}
