#include "RelativeTime.h"

namespace vorlie {

using namespace Qt::StringLiterals;

namespace {

enum class Unit { second, minute, hour, day };

struct Wording {
    QString past; // %1: amount with unit
    QString now;
    QString second, minute, hour;
    // Days are written out: neither language abbreviates them.
    QString day, days;
};

const Wording &wordingFor(const QLocale &locale)
{
    static const Wording german{u"vor %1"_s, u"jetzt"_s, u"Sek."_s, u"Min."_s, u"Std."_s, u"Tag"_s, u"Tagen"_s};
    static const Wording english{u"%1 ago"_s, u"now"_s, u"sec."_s, u"min."_s, u"hr."_s, u"day"_s, u"days"_s};
    return locale.language() == QLocale::German ? german : english;
}

QString unitName(const Wording &w, Unit unit, qint64 amount)
{
    switch (unit) {
    case Unit::second: return w.second;
    case Unit::minute: return w.minute;
    case Unit::hour: return w.hour;
    case Unit::day: return amount == 1 ? w.day : w.days;
    }
    return {};
}

} // namespace

QString abbreviatedRelativeTime(const QDateTime &instant, const QDateTime &now, const QLocale &locale)
{
    const Wording &w = wordingFor(locale);
    // A time after `now` has not come yet for the reader: a clock running
    // ahead of ours, or a view drawn before the status was set.
    if (instant > now)
        return w.now;
    const qint64 seconds = instant.secsTo(now);

    Unit unit = Unit::second;
    qint64 amount = seconds;
    if (seconds >= 86400) {
        unit = Unit::day;
        amount = seconds / 86400;
    } else if (seconds >= 3600) {
        unit = Unit::hour;
        amount = seconds / 3600;
    } else if (seconds >= 60) {
        unit = Unit::minute;
        amount = seconds / 60;
    }

    const QString quantity = locale.toString(amount) + u' ' + unitName(w, unit, amount);
    return w.past.arg(quantity);
}

} // namespace vorlie
