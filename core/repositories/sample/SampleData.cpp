#include "SampleData.h"

#include "domain/StatusCatalog.h"

namespace vorlie::sample {

namespace {

User makeUser(QString id, QString name, QString username, AvatarConfiguration avatar, const QDateTime &now, qint64 lastStatusAgo,
              qint64 createdAgo)
{
    User user;
    user.id = std::move(id);
    user.displayName = std::move(name);
    user.email = username + QStringLiteral("@example.com");
    user.username = std::move(username);
    user.avatar = avatar;
    user.locale = QStringLiteral("en");
    user.timezone = QStringLiteral("Europe/Vienna");
    user.lastStatusAt = now.addSecs(-lastStatusAgo);
    user.createdAt = now.addSecs(-createdAgo);
    return user;
}

Status makeStatus(QString id, QString key, QString emoji, StatusCategory category, StatusVisualState visualState, QDateTime createdAt)
{
    Status status;
    status.id = std::move(id);
    status.statusKey = std::move(key);
    status.emoji = std::move(emoji);
    status.category = category;
    status.visualState = visualState;
    status.source = StatusSource::manual;
    status.createdAt = std::move(createdAt);
    status.freshness = StatusFreshness::fresh;
    status.isExpired = false;
    return status;
}

SampleData build()
{
    // Whole seconds, so a sample survives a JSON round trip unchanged.
    const QDateTime now = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch(), Qt::UTC);
    SampleData d;
    d.user = makeUser(QStringLiteral("01MOCKQUORRIN00000000000"), QStringLiteral("Quorrin"), QStringLiteral("quorrin"),
                      {SkinTone::warm2, HairStyle::short2, HairColor::black, Outfit::hoodie, OutfitColor::navy, Accessory::none,
                       Expression::default_, Sex::male},
                      now, 1200, 7'776'000);
    d.partner = makeUser(QStringLiteral("01MOCKQUIL000000000000000"), QStringLiteral("Quil"), QStringLiteral("quil"),
                         {SkinTone::neutral1, HairStyle::long1, HairColor::brown, Outfit::sweater, OutfitColor::pink,
                          Accessory::earrings, Expression::smile, Sex::female},
                         now, 480, 10'368'000);
    d.partnerStatus = makeStatus(QStringLiteral("01MOCKSTATUS0000000000001"), QStringLiteral("miss_you"), QStringLiteral("\U0001FAF6"),
                                 StatusCategory::relationship, StatusVisualState::missing, now.addSecs(-480));
    d.ownStatus = makeStatus(QStringLiteral("01MOCKSTATUS0000000000002"), QStringLiteral("working"), QStringLiteral("\U0001F4BC"),
                             StatusCategory::activity, StatusVisualState::working, now.addSecs(-1200));
    d.connection = Connection{QStringLiteral("01MOCKCONNECTION000000001"), ConnectionState::accepted, d.partner,
                              now.addSecs(-2'592'000), now.addSecs(-2'592'000)};
    d.mainPerson = MainPerson{d.connection.id, d.partner, d.connection.acceptedAt};
    d.catalog = BuiltInStatusCatalog::items({QStringLiteral("miss_you"), QStringLiteral("home"), QStringLiteral("working"), QStringLiteral("love_you")});
    d.snapshot = SyncSnapshot{d.user, d.mainPerson, d.partnerStatus, d.ownStatus, {d.connection}, now};
    d.deviceId = QStringLiteral("01MOCKDEVICE00000000000001");
    return d;
}

} // namespace

const SampleData &data()
{
    static const SampleData sample = build(); // thread-safe one-time initialisation
    return sample;
}

} // namespace vorlie::sample
