#include "DomainFixtures.h"
#include "domain/AvatarImageURL.h"

#include <QUrlQuery>
#include <functional>
#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::test;

namespace {

const QUrl base(QStringLiteral("https://avatars.example.test"));

// warm_1, short_1, black, tshirt, black, none, default, male
const AvatarConfiguration workedExample{.sex = Sex::male};

QString query(const AvatarConfiguration &a, const QString &seed = QStringLiteral("p1"), int points = 48)
{
    return avatarImageURL(base, a, seed, points).query(QUrl::FullyEncoded);
}

// The worked example's query is head, clothes colour, face, then its top,
// accessories and facial hair.
const QString head = QStringLiteral("seed=p1&size=96&backgroundColor=transparent&skinColor=ffdbb4&hairColor=2c1b18"
                                    "&clothing=shirtCrewNeck&clothesColor=");
const QString face = QStringLiteral("&eyes=default&eyebrows=defaultNatural&mouth=default");
const QString workedTop = QStringLiteral("&top=shortFlat&accessoriesProbability=0&facialHair=beardLight&facialHairProbability=50");

} // namespace

TEST(AvatarCoding, RoundTripsEveryField)
{
    const AvatarConfiguration a{SkinTone::deep2, HairStyle::buzz, HairColor::pink, Outfit::jacket,
                                OutfitColor::purple, Accessory::headphones, Expression::grin, Sex::female};
    EXPECT_EQ(roundTrip(a), a);
    EXPECT_EQ(decode<AvatarConfiguration>(avatarJson()), workedExample);
}

TEST(AvatarCoding, SexMayBeMissingOrNullAndEachOtherFieldIsRequiredAndChecked)
{
    const AvatarConfiguration noSex; // the worked example without its sex
    EXPECT_EQ(decode<AvatarConfiguration>(without(avatarJson(), "sex")), noSex);
    EXPECT_EQ(decode<AvatarConfiguration>(with(avatarJson(), "sex", QJsonValue::Null)), noSex);
    // The default is only for absence: a wrong value still fails.
    EXPECT_FALSE(decode<AvatarConfiguration>(with(avatarJson(), "sex", "other")));
    EXPECT_FALSE(decode<AvatarConfiguration>(with(avatarJson(), "sex", 0)));
    // And it is always written, so the next reader need not guess.
    EXPECT_EQ(JsonCodec<AvatarConfiguration>::encode(noSex).toObject().value("sex"), QJsonValue("none"));

    const auto keys = {"skinTone", "hairStyle", "hairColor", "outfit", "outfitColor", "accessory", "expression"};
    expectRequired<AvatarConfiguration>(avatarJson(), keys);
    for (const char *key : keys)
        EXPECT_FALSE(decode<AvatarConfiguration>(with(avatarJson(), key, "unlisted"))) << key;
}

TEST(AvatarImageAddress, TheWorkedExampleGivesTheExactQueryAndAccessoriesHairAndSexShapeIt)
{
    const struct {
        const char *name;
        std::function<void(AvatarConfiguration &)> change;
        QString top;
        const char *clothesColor = "29292e";
    } cases[] = {
        {"the worked example", [](auto &) {}, workedTop},
        {"a beanie replaces the hair with a hat in the outfit colour",
         [](auto &a) { a.accessory = Accessory::beanie; a.outfitColor = OutfitColor::navy; },
         QStringLiteral("&top=winterHat02&hatColor=243059&accessoriesProbability=0&facialHair=beardLight&facialHairProbability=50"), "243059"},
        {"sunglasses are sent, and no beard without a male face",
         [](auto &a) { a.accessory = Accessory::sunglasses; a.sex = Sex::female; },
         QStringLiteral("&top=shortFlat&accessories=sunglasses&accessoriesProbability=100&facialHairProbability=0")},
        {"glasses are sent", [](auto &a) { a.accessory = Accessory::glasses; },
         QStringLiteral("&top=shortFlat&accessories=prescription02&accessoriesProbability=100&facialHair=beardLight&facialHairProbability=50")},
        {"no sex gives no beard", [](auto &a) { a.sex = Sex::none; },
         QStringLiteral("&top=shortFlat&accessoriesProbability=0&facialHairProbability=0")},
        {"earrings are not drawn", [](auto &a) { a.accessory = Accessory::earrings; }, workedTop},
        {"bald looks like short one", [](auto &a) { a.hairStyle = HairStyle::bald; }, workedTop},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        AvatarConfiguration a = workedExample;
        c.change(a);
        EXPECT_EQ(query(a), head + QLatin1StringView(c.clothesColor) + face + c.top);
    }
}

TEST(AvatarImageAddress, EveryChoiceReachesTheQuery)
{
    const AvatarConfiguration a{SkinTone::deep2, HairStyle::long1, HairColor::blue, Outfit::sweater,
                                OutfitColor::green, Accessory::none, Expression::grin, Sex::male};
    const QUrlQuery q(query(a));
    EXPECT_EQ(q.queryItemValue("skinColor"), QStringLiteral("614335"));
    EXPECT_EQ(q.queryItemValue("hairColor"), QStringLiteral("4a6fa5"));
    EXPECT_EQ(q.queryItemValue("clothing"), QStringLiteral("collarAndSweater"));
    EXPECT_EQ(q.queryItemValue("clothesColor"), QStringLiteral("3d7357"));
    EXPECT_EQ(q.queryItemValue("mouth"), QStringLiteral("twinkle"));
    EXPECT_EQ(q.queryItemValue("top"), QStringLiteral("longButNotTooLong"));
}

TEST(AvatarImageAddress, SeedIsEncodedSoItCannotAlterTheQueryAndAnySizeIsValid)
{
    const QString seed = QStringLiteral("a+b&size=1#x é/?");
    const QUrl url = avatarImageURL(base, workedExample, seed, 48);
    const QString q = url.query(QUrl::FullyEncoded);
    EXPECT_TRUE(q.startsWith(QStringLiteral("seed=a%2Bb%26size%3D1%23x%20%C3%A9%2F%3F&size=96&"))) << q.toStdString();
    EXPECT_TRUE(url.fragment().isNull());
    EXPECT_EQ(url.adjusted(QUrl::RemoveQuery), QUrl(QStringLiteral("https://avatars.example.test/9.x/avataaars/png")));
    EXPECT_EQ(QUrlQuery(url).queryItemValue("seed", QUrl::FullyDecoded), seed);

    // Any size or seed gives a valid address.
    EXPECT_TRUE(query(workedExample, QString(), 0).startsWith(QStringLiteral("seed=&size=0&")));
    EXPECT_TRUE(query(workedExample, QStringLiteral("p"), std::numeric_limits<int>::max())
                    .contains(QStringLiteral("&size=4294967294&")));
    EXPECT_TRUE(avatarImageURL(base, workedExample, QStringLiteral("p"), -1).isValid());
    // A base with a path keeps it, so the service may live below a prefix.
    EXPECT_EQ(avatarImageURL(QUrl(QStringLiteral("https://cdn.example.test/render/")), workedExample, QStringLiteral("p"), 1).path(),
              QStringLiteral("/render/9.x/avataaars/png"));
}
