#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace vorlie {

// An abbreviated phrase for `instant` relative to `now` ("5 min. ago",
// "in 2 hr.", "vor 5 Min."), in the largest whole unit of seconds, minutes,
// hours or days. The wording follows the formatting locale (German or
// English), like any date formatting, and not the table of interface texts:
// a language without a text table still gets its own dates.
QString abbreviatedRelativeTime(const QDateTime &instant, const QDateTime &now, const QLocale &locale);

} // namespace vorlie
