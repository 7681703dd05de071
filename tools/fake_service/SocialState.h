#pragma once

#include "Router.h"
#include "ScriptedReply.h"

#include <QDateTime>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <functional>

namespace vorlie::fake {

// A push the service sent to a device's endpoint.
struct SentPush {
    QString deviceId;
    QString endpoint;
    QByteArray body;
};

// The people side of the fake service: connections, each user's main
// person, statuses (judged fresh, aging, stale or expired by their age),
// favourites, devices and announcements, seeded with a small sample world.
class SocialState {
public:
    using Clock = std::function<QDateTime()>;
    using UserLookup = std::function<QJsonObject(const QString &userId)>;
    using PushSender = std::function<void(const SentPush &)>;

    SocialState(Clock clock, UserLookup user);

    void addRoutes(Router &router);

    // Sample people around `userId`: partner as main person, two more connections.
    void seedAround(const QString &userId, const QString &partnerId, const QStringList &otherIds);
    // Sets a user's own status, as the picker would; gives the stored record.
    QJsonObject setStatus(const QString &userId, const QString &key, const std::optional<QString> &customText, const QDateTime &at);
    // Delivers pushes to devices; without one, none are sent.
    void setPushSender(PushSender sender) { m_pushSender = std::move(sender); }

private:
    struct StoredStatus {
        QString id;
        QString key;
        std::optional<QString> text;
        QDateTime createdAt;
    };
    struct Link {
        QString id;
        QString a;
        QString b;
        QDateTime createdAt;
    };
    static const QString &otherParty(const Link &link, const QString &userId) { return link.a == userId ? link.b : link.a; }

    ScriptedReply sync(const RouteCall &call);
    ScriptedReply catalog(const RouteCall &call);
    ScriptedReply addFavorite(const RouteCall &call);
    ScriptedReply removeFavorite(const RouteCall &call);
    ScriptedReply markFavorite(const RouteCall &call, bool favorite);
    ScriptedReply putStatus(const RouteCall &call);
    ScriptedReply announcements(const RouteCall &call);
    ScriptedReply registerDevice(const RouteCall &call);
    ScriptedReply setMainPersonStatus(const RouteCall &call);

    QJsonObject statusJson(const StoredStatus &status) const;
    std::optional<QJsonObject> latestStatus(const QString &userId) const;
    const Link *mainLink(const QString &userId) const;
    // Tells everyone whose main person `personId` is about the new status.
    void pushStatusChange(const QString &personId, const QString &statusId);

    Clock m_clock;
    UserLookup m_user;
    QList<Link> m_links;
    QHash<QString, QString> m_mainLink;              // user id → link id
    QHash<QString, QList<StoredStatus>> m_statuses;  // user id → oldest first
    QHash<QString, QSet<QString>> m_favorites;       // user id → keys
    QHash<QString, QString> m_devices;               // device id → user id
    QHash<QString, QString> m_pushTokens;            // device id → hex token, as the device sent it
    PushSender m_pushSender;
    QJsonArray m_announcements;
    int m_nextId = 1;
};

} // namespace vorlie::fake
