#include "SocialState.h"

#include "ServiceState.h"

#include <QJsonDocument>
#include <QUrl>

namespace vorlie::fake {

namespace {

struct CatalogEntry {
    const char *key;
    const char *emoji; // nullptr: none
    const char *category;
    const char *visualState;
    const char *text;
};

// The service's catalogue, in its order.
constexpr CatalogEntry catalogEntries[] = {
    {"tired", "\U0001F4A4", "mood", "sleepy", "Tired"},
    {"miss_you", "\U0001FAF6", "relationship", "missing", "Miss you"},
    {"love_you", "\u2764\uFE0F", "relationship", "loving", "Love you"},
    {"shopping", "\U0001F6CD\uFE0F", "activity", "shopping", "Shopping"},
    {"need_cash", "\U0001F4B8", "activity", "neutral", "Need cash"},
    {"working", "\U0001F4BC", "activity", "working", "Working"},
    {"chilling", "\U0001F37F", "activity", "relaxed", "Chilling"},
    {"stressed", "\U0001F635", "mood", "stressed", "Stressed"},
    {"out", "\U0001F378", "location", "out", "Out"},
    {"home", "\U0001F3E0", "location", "relaxed", "Home"},
    {"on_my_way", "\U0001F697", "location", "active", "On my way"},
    {"thinking_of_you", "\U0001F440", "relationship", "thinking", "Thinking of you"},
    {"busy", nullptr, "activity", "neutral", "Busy"},
    {"call_me", nullptr, "relationship", "thinking", "Call me"},
    {"bored", nullptr, "mood", "neutral", "Bored"},
    {"hungry", nullptr, "mood", "hungry", "Hungry"},
    {"gym", nullptr, "activity", "active", "Gym"},
    {"studying", nullptr, "activity", "studying", "Studying"},
    {"good_mood", nullptr, "mood", "happy", "Good mood"},
    {"bad_mood", nullptr, "mood", "sad", "Bad mood"},
    {"need_hug", "\U0001FAC2", "relationship", "missing", "Need a hug"},
};

const CatalogEntry *catalogEntry(const QString &key)
{
    for (const CatalogEntry &entry : catalogEntries) {
        if (key == QLatin1StringView(entry.key))
            return &entry;
    }
    return nullptr;
}

// The service judges freshness by age.
constexpr qint64 hour = 3600;

QString freshness(qint64 ageSeconds)
{
    if (ageSeconds < 2 * hour)
        return QStringLiteral("fresh");
    if (ageSeconds < 8 * hour)
        return QStringLiteral("aging");
    if (ageSeconds < 24 * hour)
        return QStringLiteral("stale");
    return QStringLiteral("expired");
}

ScriptedReply statusNotFound()
{
    return errorReply(404, QStringLiteral("STATUS_NOT_FOUND"), QStringLiteral("No such status."));
}

std::optional<QString> customTextOf(const QJsonObject &body)
{
    const QJsonValue text = body.value("customText");
    return text.isString() ? std::optional<QString>(text.toString()) : std::nullopt;
}

// A device token is the hex of its endpoint URL. Only endpoints on this
// machine get pushes: a token is whatever a client chose to send, and the
// service must not be talked into posting anywhere else.
std::optional<QString> localEndpoint(const QString &hexToken)
{
    if (hexToken.isEmpty() || hexToken.size() % 2 != 0)
        return std::nullopt;
    for (const QChar c : hexToken) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
            return std::nullopt;
    }
    const QString text = QString::fromUtf8(QByteArray::fromHex(hexToken.toLatin1()));
    if (!text.startsWith(u"http://127.0.0.1:") && !text.startsWith(u"http://localhost:"))
        return std::nullopt;
    // The prefix alone would let "http://127.0.0.1:1@elsewhere/" through.
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != u"http" || url.port() <= 0 || !url.userInfo().isEmpty()
        || (url.host() != u"127.0.0.1" && url.host() != u"localhost"))
        return std::nullopt;
    return text;
}

} // namespace

SocialState::SocialState(Clock clock, UserLookup user)
    : m_clock(std::move(clock))
    , m_user(std::move(user))
{
    m_announcements.append(QJsonObject{{"id", "01ANNOUNCEWELCOME000000000"},
                                       {"type", "info"},
                                       {"message", "This is the local vorlie demo service."}});
}

void SocialState::addRoutes(Router &router)
{
    using Access = Router::Access;
    const auto route = [this, &router](const char *method, const char *pattern, ScriptedReply (SocialState::*handler)(const RouteCall &)) {
        router.add(method, QString::fromLatin1(pattern), Access::bearer, [this, handler](const RouteCall &call) { return (this->*handler)(call); });
    };
    route("GET", "sync", &SocialState::sync);
    route("GET", "status/catalog", &SocialState::catalog);
    route("POST", "status/favorites/{key}", &SocialState::addFavorite);
    route("DELETE", "status/favorites/{key}", &SocialState::removeFavorite);
    route("PUT", "status/me", &SocialState::putStatus);
    route("GET", "announcements", &SocialState::announcements);
    route("POST", "devices", &SocialState::registerDevice);
    // Development control: the signed-in user's main person sets a status.
    route("POST", "dev/main-person-status", &SocialState::setMainPersonStatus);
}

void SocialState::seedAround(const QString &userId, const QString &partnerId, const QStringList &otherIds)
{
    const QDateTime now = m_clock();
    const auto link = [&](const QString &other, qint64 daysAgo) {
        m_links.append(Link{QStringLiteral("01CONN%1").arg(m_nextId++, 20, 10, QChar(u'0')), userId, other, now.addDays(-daysAgo)});
        return m_links.last().id;
    };
    const QString partnerLink = link(partnerId, 30);
    m_mainLink.insert(userId, partnerLink);
    m_mainLink.insert(partnerId, partnerLink);
    for (const QString &other : otherIds)
        link(other, 10);
    setStatus(partnerId, QStringLiteral("miss_you"), std::nullopt, now.addSecs(-480));
    setStatus(userId, QStringLiteral("working"), std::nullopt, now.addSecs(-1200));
    if (otherIds.size() > 0)
        setStatus(otherIds[0], QStringLiteral("gym"), std::nullopt, now.addSecs(qint64{-3} * 3600));
    if (otherIds.size() > 1)
        setStatus(otherIds[1], QStringLiteral("custom"), QStringLiteral("Baking bread \U0001F35E"), now.addSecs(qint64{-26} * 3600));
    m_favorites[userId] = {QStringLiteral("miss_you"), QStringLiteral("home"), QStringLiteral("working"), QStringLiteral("love_you")};
}

QJsonObject SocialState::setStatus(const QString &userId, const QString &key, const std::optional<QString> &customText, const QDateTime &at)
{
    StoredStatus status{QStringLiteral("01STATUS%1").arg(m_nextId++, 18, 10, QChar(u'0')), key, customText, at};
    m_statuses[userId].append(status);
    return statusJson(status);
}

QJsonObject SocialState::statusJson(const StoredStatus &status) const
{
    const CatalogEntry *entry = catalogEntry(status.key);
    const qint64 age = status.createdAt.secsTo(m_clock());
    QJsonObject json{{"id", status.id},
                     {"statusKey", status.key},
                     {"category", entry ? entry->category : "custom"},
                     {"visualState", entry ? entry->visualState : "neutral"},
                     {"source", "manual"},
                     {"createdAt", wireInstant(status.createdAt)},
                     {"freshness", freshness(age)},
                     {"isExpired", age >= 24 * hour}};
    if (status.text)
        json.insert("text", *status.text);
    else if (entry)
        json.insert("text", QString::fromUtf8(entry->text));
    if (entry && entry->emoji)
        json.insert("emoji", QString::fromUtf8(entry->emoji));
    return json;
}

std::optional<QJsonObject> SocialState::latestStatus(const QString &userId) const
{
    const auto statuses = m_statuses.constFind(userId);
    if (statuses == m_statuses.constEnd() || statuses->isEmpty())
        return std::nullopt;
    return statusJson(statuses->last());
}

const SocialState::Link *SocialState::mainLink(const QString &userId) const
{
    const QString id = m_mainLink.value(userId);
    for (const Link &link : m_links) {
        if (link.id == id)
            return &link;
    }
    return nullptr;
}

ScriptedReply SocialState::sync(const RouteCall &call)
{
    QJsonObject snapshot{{"user", m_user(call.userId)}, {"serverTime", wireInstant(m_clock())}};
    QJsonArray connections;
    for (const Link &link : m_links) {
        if (link.a != call.userId && link.b != call.userId)
            continue;
        connections.append(QJsonObject{{"id", link.id},
                                       {"state", "accepted"},
                                       {"person", m_user(otherParty(link, call.userId))},
                                       {"createdAt", wireInstant(link.createdAt)},
                                       {"acceptedAt", wireInstant(link.createdAt.addSecs(300))}});
    }
    snapshot.insert("connections", connections);
    if (const Link *link = mainLink(call.userId)) {
        const QString personId = otherParty(*link, call.userId);
        snapshot.insert("mainPerson", QJsonObject{{"connectionId", link->id}, {"person", m_user(personId)}, {"selectedAt", wireInstant(link->createdAt)}});
        if (auto status = latestStatus(personId))
            snapshot.insert("mainPersonStatus", *status);
    }
    if (auto own = latestStatus(call.userId))
        snapshot.insert("ownStatus", *own);
    return dataReply(snapshot);
}

ScriptedReply SocialState::catalog(const RouteCall &call)
{
    const QSet<QString> favorites = m_favorites.value(call.userId);
    QJsonArray items;
    for (const CatalogEntry &entry : catalogEntries) {
        QJsonObject item{{"key", entry.key}, {"text", QString::fromUtf8(entry.text)}, {"category", entry.category},
                         {"visualState", entry.visualState}, {"isFavorite", favorites.contains(QString::fromLatin1(entry.key))}};
        if (entry.emoji)
            item.insert("emoji", QString::fromUtf8(entry.emoji));
        items.append(item);
    }
    return dataReply(items);
}

ScriptedReply SocialState::addFavorite(const RouteCall &call)
{
    return markFavorite(call, true);
}

ScriptedReply SocialState::removeFavorite(const RouteCall &call)
{
    return markFavorite(call, false);
}

ScriptedReply SocialState::markFavorite(const RouteCall &call, bool favorite)
{
    const QString key = call.params.value(QStringLiteral("key"));
    if (!catalogEntry(key))
        return statusNotFound();
    if (favorite)
        m_favorites[call.userId].insert(key);
    else
        m_favorites[call.userId].remove(key);
    return noContent();
}

ScriptedReply SocialState::putStatus(const RouteCall &call)
{
    const QJsonValue key = call.body.value("statusKey");
    const QJsonValue text = call.body.value("customText");
    const QJsonValue source = call.body.value("source");
    const bool validText = text.isUndefined() || text.isNull() || (text.isString() && text.toString().size() <= 200);
    if (!key.isString() || !validText || !source.isString())
        return errorReply(400, QStringLiteral("BAD_REQUEST"), QStringLiteral("statusKey and source are required."));
    if (key.toString() != u"custom" && !catalogEntry(key.toString()))
        return statusNotFound();
    const QJsonObject status = setStatus(call.userId, key.toString(), customTextOf(call.body), m_clock());
    pushStatusChange(call.userId, status.value("id").toString());
    return dataReply(status);
}

ScriptedReply SocialState::announcements(const RouteCall &)
{
    return dataReply(m_announcements);
}

ScriptedReply SocialState::registerDevice(const RouteCall &call)
{
    if (!call.body.value("platform").isString())
        return errorReply(400, QStringLiteral("BAD_REQUEST"), QStringLiteral("platform is required."));
    QString id = call.body.value("deviceId").toString();
    if (m_devices.value(id) != call.userId)
        id = QStringLiteral("01DEVICE%1").arg(m_nextId++, 18, 10, QChar(u'0'));
    m_devices.insert(id, call.userId);
    const QJsonValue pushToken = call.body.value("pushToken");
    if (pushToken.isString())
        m_pushTokens.insert(id, pushToken.toString());
    else
        m_pushTokens.remove(id);
    return dataReply(QJsonObject{{"deviceId", id}}, 201);
}

ScriptedReply SocialState::setMainPersonStatus(const RouteCall &call)
{
    const Link *link = mainLink(call.userId);
    if (!link)
        return errorReply(404, QStringLiteral("NO_MAIN_PERSON"), QStringLiteral("No main person chosen."));
    const QString key = call.body.value("statusKey").toString();
    if (key != u"custom" && !catalogEntry(key))
        return statusNotFound();
    const QString personId = otherParty(*link, call.userId);
    const QJsonObject status = setStatus(personId, key, customTextOf(call.body), m_clock());
    pushStatusChange(personId, status.value("id").toString());
    return dataReply(status);
}

void SocialState::pushStatusChange(const QString &personId, const QString &statusId)
{
    if (!m_pushSender)
        return;
    const QByteArray body = QJsonDocument(QJsonObject{{"type", "partner_status_changed"}, {"personId", personId}, {"statusId", statusId}})
                                .toJson(QJsonDocument::Compact);
    for (auto device = m_devices.cbegin(); device != m_devices.cend(); ++device) {
        const Link *link = mainLink(device.value());
        if (!link || otherParty(*link, device.value()) != personId)
            continue;
        if (const std::optional<QString> endpoint = localEndpoint(m_pushTokens.value(device.key())))
            m_pushSender(SentPush{device.key(), *endpoint, body});
    }
}

} // namespace vorlie::fake
