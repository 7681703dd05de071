#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace vorlie {

// An abbreviated phrase for how long before `now` `instant` was ("5 min.
// ago", "vor 5 Min."), in the largest whole unit of seconds, minutes, hours
// or days; an instant later than `now` reads as now ("now", "jetzt"). The
// wording follows the formatting locale (German or English), like any date
// formatting, and not the table of interface texts: a language without a
// text table still gets its own dates.
QString abbreviatedRelativeTime(const QDateTime &instant, const QDateTime &now, const QLocale &locale);

} // namespace vorlie
