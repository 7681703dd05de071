#include <QRandomGenerator>
#include "json/Instant.h"

#include <gtest/gtest.h>

using vorlie::formatInstant;
using vorlie::parseInstant;

TEST(Instant, ReadsAndWritesUtcAndNumericOffsetsAsTheSameMoment)
{
    const auto utc = parseInstant(u"2025-03-01T08:15:30Z");
    const auto offset = parseInstant(u"2025-03-01T09:15:30+01:00");
    const auto negative = parseInstant(u"2025-03-01T03:45:30-04:30");
    ASSERT_TRUE(utc && offset && negative);
    EXPECT_EQ(*utc, *offset);
    EXPECT_EQ(*utc, *negative);
    EXPECT_EQ(formatInstant(*offset), QStringLiteral("2025-03-01T08:15:30Z"));
    const QDateTime local(QDate(2025, 3, 1), QTime(10, 15, 30), Qt::OffsetFromUTC, 2 * 3600);
    EXPECT_EQ(formatInstant(local), QStringLiteral("2025-03-01T08:15:30Z"));
}

TEST(Instant, RefusesEveryOtherForm)
{
    for (const char *text : {"2025-03-01T08:15:30.123Z", "2025-03-01T08:15:30", "2025-03-01 08:15:30Z",
                             "2025-03-01T08:15Z", "2025-02-30T08:15:30Z", "2025-03-01T24:00:00Z",
                             "2025-03-01T08:15:30+0100", "2025-03-01T08:15:30z", "", "2025-03-01",
                             "2025-03-01T08:15:30+01:00:00", "२०२५-03-01T08:15:30Z", "2025-03-01T08:15:60Z"}) {
        EXPECT_FALSE(parseInstant(QString::fromUtf8(text))) << text;
    }
}

TEST(Instant, WritesEveryMomentAsQtWouldAndReadsItBack)
{
    QRandomGenerator random(7);
    const qint64 from = QDateTime(QDate(1900, 1, 1), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
    const qint64 to = QDateTime(QDate(2100, 12, 31), QTime(23, 59, 59), Qt::UTC).toMSecsSinceEpoch();
    QList<QDateTime> moments{QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999), Qt::UTC),
                             QDateTime::fromMSecsSinceEpoch(-1500, Qt::UTC), QDateTime::fromMSecsSinceEpoch(0, Qt::UTC)};
    for (int i = 0; i < 5000; ++i)
        moments.append(QDateTime::fromMSecsSinceEpoch(from + static_cast<qint64>(random.bounded(1.0) * double(to - from)), Qt::UTC));
    for (const QDateTime &moment : moments) {
        const QString text = formatInstant(moment);
        ASSERT_EQ(text, moment.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"))) << moment.toMSecsSinceEpoch();
        ASSERT_EQ(parseInstant(text)->toSecsSinceEpoch(), moment.toSecsSinceEpoch() - (moment.toMSecsSinceEpoch() % 1000 < 0 ? 1 : 0));
    }
    EXPECT_EQ(formatInstant(QDateTime()), QString());
}
