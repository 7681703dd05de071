#pragma once

#include "push/PushNotificationPayload.h"

#include <QString>

namespace vorlie {

class SessionStore;

struct NotificationText {
    QString title;
    QString body;

    friend bool operator==(const NotificationText &, const NotificationText &) = default;
};

// What a pushed event says on the desktop, in the interface language, after
// the sync it triggered: the person's name and new status when they are known.
NotificationText notificationText(const PushNotificationPayload &payload, const SessionStore &store);

} // namespace vorlie
