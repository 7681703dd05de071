#include "OfflineLabel.h"

#include "RelativeTime.h"

namespace vorlie {

QString offlineLabel(const std::optional<QDateTime> &lastCurrent, const QDateTime &now, const QLocale &locale)
{
    if (!lastCurrent) {
        //% "Offline"
        return qtTrId("sync.offline");
    }
    //% "Offline · updated %1"
    return qtTrId("sync.offline_updated").arg(abbreviatedRelativeTime(*lastCurrent, now, locale));
}

} // namespace vorlie
