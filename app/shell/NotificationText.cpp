#include "NotificationText.h"

#include "domain/StatusCatalog.h"
#include "session/SessionStore.h"

namespace vorlie {
namespace {

std::optional<QString> personName(const SessionStore &store, const std::optional<QString> &personId)
{
    if (!personId || personId->isEmpty())
        return std::nullopt;
    if (const auto &main = store.mainPerson(); main && main->person.id == *personId)
        return main->person.displayName;
    for (const Connection &connection : store.connections()) {
        if (connection.person.id == *personId)
            return connection.person.displayName;
    }
    return std::nullopt;
}

QString statusLine(const Status &status)
{
    QString text = displayText(status);
    if (!status.emoji)
        return text;
    return text.isEmpty() ? *status.emoji : *status.emoji + u' ' + text;
}

} // namespace

NotificationText notificationText(const PushNotificationPayload &payload, const SessionStore &store)
{
    const QString appName = qtTrId("vorlie");
    switch (payload.kind) {
    case PushNotificationKind::partnerStatusChanged: {
        const auto name = personName(store, payload.personId);
        if (!name)
            return {appName, qtTrId("notification.someone_status_changed")};
        const auto &main = store.mainPerson();
        const auto &status = store.mainPersonStatus();
        const bool isMain = main && main->person.id == *payload.personId;
        const QString body = isMain && status && !status->isExpired ? statusLine(*status) : QString();
        return {qtTrId("notification.partner_status_changed").arg(*name), body};
    }
    case PushNotificationKind::reactionReceived:
        return {appName, qtTrId("notification.reaction_received")};
    case PushNotificationKind::connectionRequested:
        return {appName, qtTrId("notification.connection_requested")};
    case PushNotificationKind::connectionAccepted:
        return {appName, qtTrId("notification.connection_accepted")};
    case PushNotificationKind::statusReminder:
        return {appName, qtTrId("notification.status_reminder")};
    }
    return {appName, QString()};
}

} // namespace vorlie
