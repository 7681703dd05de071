#pragma once

#include <QDateTime>
#include <QString>

namespace vorlie {

// A 26-character time-ordered identifier in Crockford's base-32 alphabet:
// 10 characters of milliseconds since the epoch, then 16 from 80 bits of the
// system's random source. Locally made statuses carry "pending-" + this.
QString makePendingID(const QDateTime &now = QDateTime::currentDateTimeUtc());

} // namespace vorlie
