#include "Instant.h"


namespace vorlie {
namespace {

// The text's unit at i as a number: UTF-16 units and UTF-8 bytes alike,
// since every valid instant is ASCII and anything else fails a check.
char32_t unit(QStringView text, qsizetype i)
{
    return text[i].unicode();
}

char32_t unit(QByteArrayView text, qsizetype i)
{
    return static_cast<unsigned char>(text[i]);
}

template<typename Text>
bool isDigits(Text text, qsizetype from, qsizetype count)
{
    for (qsizetype i = from; i < from + count; ++i) {
        if (unit(text, i) < '0' || unit(text, i) > '9')
            return false;
    }
    return true;
}

// Only called on runs already checked to be ASCII digits.
template<typename Text>
int number(Text text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i)
        value = value * 10 + static_cast<int>(unit(text, i) - '0');
    return value;
}

constexpr qint64 unixEpochJulianDay = 2440588;

template<typename Text>
std::optional<QDateTime> parse(Text text)
{
    // 2025-03-01T08:15:30Z or 2025-03-01T08:15:30+01:00
    constexpr qsizetype dateTimeLength = 19;
    if (text.size() != dateTimeLength + 1 && text.size() != dateTimeLength + 6)
        return std::nullopt;
    if (!isDigits(text, 0, 4) || unit(text, 4) != '-' || !isDigits(text, 5, 2) || unit(text, 7) != '-'
        || !isDigits(text, 8, 2) || unit(text, 10) != 'T' || !isDigits(text, 11, 2) || unit(text, 13) != ':'
        || !isDigits(text, 14, 2) || unit(text, 16) != ':' || !isDigits(text, 17, 2))
        return std::nullopt;

    int offsetSeconds = 0;
    const Text zone = text.sliced(dateTimeLength);
    if (zone.size() == 1) {
        if (unit(zone, 0) != 'Z')
            return std::nullopt;
    } else {
        if ((unit(zone, 0) != '+' && unit(zone, 0) != '-') || !isDigits(zone, 1, 2) || unit(zone, 3) != ':'
            || !isDigits(zone, 4, 2))
            return std::nullopt;
        const int hours = number(zone, 1, 2);
        const int minutes = number(zone, 4, 2);
        if (hours > 23 || minutes > 59)
            return std::nullopt;
        offsetSeconds = (hours * 60 + minutes) * 60 * (unit(zone, 0) == '-' ? -1 : 1);
    }

    const QDate date(number(text, 0, 4), number(text, 5, 2), number(text, 8, 2));
    const int hour = number(text, 11, 2);
    const int minute = number(text, 14, 2);
    const int second = number(text, 17, 2);
    if (!date.isValid() || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;

    // Straight to seconds since the epoch: a sync carries thousands of
    // instants, and QDateTime's offset conversion is the slow part.
    const qint64 seconds = (date.toJulianDay() - unixEpochJulianDay) * 86400 + qint64{hour} * 3600 + qint64{minute} * 60
                           + second - offsetSeconds;
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
}

} // namespace

std::optional<QDateTime> parseInstant(QStringView text)
{
    return parse(text);
}

std::optional<QDateTime> parseInstant(QByteArrayView utf8)
{
    return parse(utf8);
}

QString formatInstant(const QDateTime &instant)
{
    if (!instant.isValid())
        return {};
    // By hand from the seconds, for the same reason as parsing: the sync
    // cache writes thousands of instants, and QDateTime::toString is slow.
    const auto floorDiv = [](qint64 a, qint64 b) { return a >= 0 ? a / b : (a - b + 1) / b; };
    const qint64 seconds = floorDiv(instant.toMSecsSinceEpoch(), 1000); // whole seconds, also before 1970
    const qint64 days = floorDiv(seconds, 86400);
    const qint64 secondOfDay = seconds - days * 86400;
    const QDate date = QDate::fromJulianDay(days + unixEpochJulianDay);
    if (date.year() < 1 || date.year() > 9999)
        return instant.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));

    char text[21];
    const auto put = [&text](int at, int value, int width) {
        for (int i = width - 1; i >= 0; --i, value /= 10)
            text[at + i] = static_cast<char>('0' + value % 10);
    };
    put(0, date.year(), 4);
    text[4] = '-';
    put(5, date.month(), 2);
    text[7] = '-';
    put(8, date.day(), 2);
    text[10] = 'T';
    put(11, static_cast<int>(secondOfDay / 3600), 2);
    text[13] = ':';
    put(14, static_cast<int>(secondOfDay / 60 % 60), 2);
    text[16] = ':';
    put(17, static_cast<int>(secondOfDay % 60), 2);
    text[19] = 'Z';
    text[20] = '\0';
    return QString::fromLatin1(text, 20);
}

} // namespace vorlie
