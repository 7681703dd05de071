#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

namespace vorlie {

// The one line every surface shows while the service cannot be reached:
// "Offline · updated 5 min. ago", counted from when what is shown was last
// current to `now`; just "Offline" when that moment is not known.
QString offlineLabel(const std::optional<QDateTime> &lastCurrent, const QDateTime &now, const QLocale &locale);

} // namespace vorlie
