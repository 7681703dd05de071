#include "UpdatedLabel.h"

#include "RelativeTime.h"

namespace vorlie {

std::optional<QString> updatedLabel(const QDateTime &createdAt, const QDateTime &now, const QLocale &locale)
{
    // Real-valued hours, so 47 h 59 min is still "yesterday".
    const double hours = double(createdAt.msecsTo(now)) / 3'600'000.0;
    if (hours >= 48.0)
        return std::nullopt;
    if (hours >= 24.0) {
        //% "Yesterday"
        return qtTrId("status.updated_yesterday");
    }
    return abbreviatedRelativeTime(createdAt, now, locale);
}

} // namespace vorlie
