#include "DomainFixtures.h"
#include "domain/StatusCatalog.h"

#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::test;

namespace {

Status statusWith(std::optional<QString> key, std::optional<QString> text)
{
    Status s;
    s.id = QStringLiteral("s1");
    s.statusKey = std::move(key);
    s.text = std::move(text);
    return s;
}

} // namespace

TEST(BuiltInCatalog, HoldsTheTwentyOneKeysInOrderAndItsItemsFollowTheTableAndMarkFavourites)
{
    const QStringList expected{"tired", "miss_you", "love_you", "shopping", "need_cash", "working", "chilling",
                               "stressed", "out", "home", "on_my_way", "thinking_of_you", "busy", "call_me",
                               "bored", "hungry", "gym", "studying", "good_mood", "bad_mood", "need_hug"};
    for (const auto &e : BuiltInStatusCatalog::entries()) {
        EXPECT_EQ(e.localizationKey, QStringLiteral("status.") + e.key + QStringLiteral(".text"));
        EXPECT_NE(e.category, StatusCategory::custom) << e.key.toStdString();
    }
    const FakeTextTable table({{"status.need_hug.text", QStringLiteral("Brauche eine Umarmung")}});
    const auto plain = BuiltInStatusCatalog::items({});
    QStringList keys;
    for (const auto &item : plain) {
        keys.append(item.key);
        EXPECT_FALSE(item.isFavorite) << item.key.toStdString();
    }
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(plain.back().text, QStringLiteral("Brauche eine Umarmung"));

    const auto marked = BuiltInStatusCatalog::items({QStringLiteral("gym"), QStringLiteral("unknown")});
    ASSERT_EQ(marked.size(), 21u);
    for (std::size_t i = 0; i < marked.size(); ++i) {
        EXPECT_EQ(marked[i].key, plain[i].key);
        EXPECT_EQ(marked[i].isFavorite, marked[i].key == QStringLiteral("gym"));
    }
    EXPECT_FALSE(marked[16].emoji);
}

TEST(BuiltInCatalog, LookupIsExactAndCaseSensitive)
{
    EXPECT_TRUE(BuiltInStatusCatalog::entry(u"miss_you"));
    EXPECT_FALSE(BuiltInStatusCatalog::entry(u"Miss_You"));
    EXPECT_FALSE(BuiltInStatusCatalog::entry(u"miss_you "));
    EXPECT_FALSE(BuiltInStatusCatalog::entry(u"custom"));
    EXPECT_FALSE(BuiltInStatusCatalog::entry(u""));
}

TEST(DisplayText, FollowsKeyThenTextAndBuiltInTextsComeFromTheTextTableOrFallBack)
{
    const FakeTextTable table({{"status.tired.text", QStringLiteral("Müde")}});
    EXPECT_EQ(BuiltInStatusCatalog::localizedText(QStringLiteral("tired"), QStringLiteral("ignored")), QStringLiteral("Müde"));
    EXPECT_EQ(BuiltInStatusCatalog::localizedText(QStringLiteral("custom")), QStringLiteral("custom"));
    EXPECT_EQ(BuiltInStatusCatalog::localizedText(QStringLiteral("rainy"), QStringLiteral("Rainy day")), QStringLiteral("Rainy day"));
    EXPECT_EQ(BuiltInStatusCatalog::localizedText(QStringLiteral("rainy")), QStringLiteral("rainy"));
    // A built-in key always shows the client's own wording.
    EXPECT_EQ(displayText(statusWith(QStringLiteral("tired"), QStringLiteral("sleepy!!"))), QStringLiteral("Müde"));
    EXPECT_EQ(displayText(statusWith(QStringLiteral("tired"), std::nullopt)), QStringLiteral("Müde"));
    EXPECT_EQ(displayText(statusWith(QStringLiteral("custom"), QStringLiteral("Kaffee ☕"))), QStringLiteral("Kaffee ☕"));
    EXPECT_EQ(displayText(statusWith(QStringLiteral("custom"), std::nullopt)), QString());
    EXPECT_EQ(displayText(statusWith(std::nullopt, QStringLiteral("From the service"))), QStringLiteral("From the service"));
    EXPECT_EQ(displayText(statusWith(std::nullopt, std::nullopt)), QString());
    EXPECT_EQ(displayText(statusWith(QStringLiteral("service_only"), QStringLiteral("Rainy"))), QStringLiteral("Rainy"));
    EXPECT_EQ(displayText(statusWith(QStringLiteral("service_only"), std::nullopt)), QStringLiteral("service_only"));
}
