#include "support/DecodeJson.h"
#include "domain/Announcement.h"
#include "domain/AvatarConfiguration.h"
#include "domain/Connection.h"
#include "domain/Status.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace vorlie;
using vorlie::test::decodeJson;

namespace {

// The expected lists are written out here, independently of the tables, so
// a misspelt, missing or reordered case shows up.
template<typename E>
void expectWireForm(std::initializer_list<std::pair<E, const char *>> expected)
{
    const auto cases = allCases<E>();
    ASSERT_EQ(cases.size(), expected.size()) << "every case must be listed";
    std::size_t i = 0;
    for (const auto &[value, raw] : expected) {
        SCOPED_TRACE(raw);
        EXPECT_EQ(cases[i++], value) << "declaration order";
        const QJsonValue encoded = JsonCodec<E>::encode(value);
        EXPECT_EQ(encoded, QJsonValue(QString::fromLatin1(raw)));
        EXPECT_EQ(decodeJson<E>(encoded), value);
        EXPECT_FALSE(decodeJson<E>(QJsonValue(QString::fromLatin1(raw).toUpper())));
        EXPECT_FALSE(decodeJson<E>(QJsonValue(QString::fromLatin1(raw) + u' ')));
    }
    for (const QJsonValue &v : {QJsonValue(), QJsonValue(0), QJsonValue(true), QJsonValue(QJsonArray{expected.begin()->second}),
                                QJsonValue(QJsonObject{{"raw", expected.begin()->second}}), QJsonValue(QString())}) {
        EXPECT_FALSE(decodeJson<E>(v)) << "only JSON strings decode";
    }
}

} // namespace

TEST(WireEnums, StatusPeopleAndAnnouncementEnumerationsTravelAsTheirRawStrings)
{
    using C = StatusCategory;
    expectWireForm<C>({{C::mood, "mood"}, {C::activity, "activity"}, {C::location, "location"},
                       {C::relationship, "relationship"}, {C::custom, "custom"}});
    using S = StatusSource;
    expectWireForm<S>({{S::manual, "manual"}, {S::location, "location"}, {S::automation, "automation"}});
    using F = StatusFreshness;
    expectWireForm<F>({{F::fresh, "fresh"}, {F::aging, "aging"}, {F::stale, "stale"}, {F::expired, "expired"}});
    using V = StatusVisualState;
    expectWireForm<V>({{V::neutral, "neutral"}, {V::sleepy, "sleepy"}, {V::loving, "loving"}, {V::shopping, "shopping"},
                       {V::working, "working"}, {V::relaxed, "relaxed"}, {V::stressed, "stressed"}, {V::out, "out"},
                       {V::missing, "missing"}, {V::thinking, "thinking"}, {V::hungry, "hungry"}, {V::active, "active"},
                       {V::studying, "studying"}, {V::happy, "happy"}, {V::sad, "sad"}});
    using CS = ConnectionState;
    expectWireForm<CS>({{CS::pending, "pending"}, {CS::accepted, "accepted"}, {CS::blocked, "blocked"}});
    using K = Announcement::Kind;
    expectWireForm<K>({{K::info, "info"}, {K::warning, "warning"}, {K::alert, "alert"}});
}

TEST(WireEnums, AvatarEnumerationsTravelAsTheirRawStrings)
{
    using ST = SkinTone;
    expectWireForm<ST>({{ST::warm1, "warm_1"}, {ST::warm2, "warm_2"}, {ST::warm3, "warm_3"}, {ST::neutral1, "neutral_1"},
                        {ST::neutral2, "neutral_2"}, {ST::cool1, "cool_1"}, {ST::cool2, "cool_2"}, {ST::deep1, "deep_1"},
                        {ST::deep2, "deep_2"}});
    using HS = HairStyle;
    expectWireForm<HS>({{HS::bald, "bald"}, {HS::short1, "short_1"}, {HS::short2, "short_2"}, {HS::short3, "short_3"},
                        {HS::curly, "curly"}, {HS::long1, "long_1"}, {HS::long2, "long_2"}, {HS::bun, "bun"},
                        {HS::buzz, "buzz"}});
    using HC = HairColor;
    expectWireForm<HC>({{HC::black, "black"}, {HC::brown, "brown"}, {HC::blonde, "blonde"}, {HC::red, "red"},
                        {HC::gray, "gray"}, {HC::blue, "blue"}, {HC::pink, "pink"}});
    using O = Outfit;
    expectWireForm<O>({{O::tshirt, "tshirt"}, {O::hoodie, "hoodie"}, {O::shirt, "shirt"}, {O::sweater, "sweater"},
                       {O::jacket, "jacket"}});
    using OC = OutfitColor;
    expectWireForm<OC>({{OC::black, "black"}, {OC::white, "white"}, {OC::gray, "gray"}, {OC::navy, "navy"},
                        {OC::green, "green"}, {OC::red, "red"}, {OC::yellow, "yellow"}, {OC::pink, "pink"},
                        {OC::purple, "purple"}});
    using A = Accessory;
    expectWireForm<A>({{A::none, "none"}, {A::glasses, "glasses"}, {A::sunglasses, "sunglasses"},
                       {A::earrings, "earrings"}, {A::headphones, "headphones"}, {A::beanie, "beanie"}});
    using E = Expression;
    expectWireForm<E>({{E::default_, "default"}, {E::smile, "smile"}, {E::grin, "grin"}});
    using X = Sex;
    expectWireForm<X>({{X::male, "male"}, {X::female, "female"}, {X::none, "none"}});
}
