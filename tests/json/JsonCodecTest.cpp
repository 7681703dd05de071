#include "json/JsonCodec.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace vorlie;

namespace {
QJsonValue parse(const char *text)
{
    return QJsonDocument::fromJson(QByteArray("[") + text + "]").array().at(0);
}
} // namespace

TEST(JsonCodec, ScalarsRefuseOtherJsonTypes)
{
    EXPECT_FALSE(JsonCodec<QString>::decode(parse("42")));
    EXPECT_FALSE(JsonCodec<bool>::decode(parse("\"false\"")));
    EXPECT_FALSE(JsonCodec<bool>::decode(parse("0")));
    EXPECT_FALSE(JsonCodec<qint64>::decode(parse("\"7\"")));
    EXPECT_EQ(JsonCodec<QString>::decode(parse("\"x\"")), QStringLiteral("x"));
    EXPECT_EQ(JsonCodec<bool>::decode(parse("false")), false);
}

TEST(JsonCodec, IntegersNeverWrapOrTruncate)
{
    EXPECT_EQ(JsonCodec<qint64>::decode(parse("9007199254740993")), 9007199254740993LL);
    EXPECT_FALSE(JsonCodec<qint64>::decode(parse("1e300")));
    EXPECT_FALSE(JsonCodec<qint64>::decode(parse("1.5")));
    EXPECT_FALSE(JsonCodec<int>::decode(parse("4294967296")));
    EXPECT_EQ(JsonCodec<int>::decode(parse("-12")), -12);
}

TEST(JsonCodec, ArrayFailsWhenOneElementFails)
{
    EXPECT_FALSE(JsonCodec<std::vector<QString>>::decode(parse("[\"a\", 1]")));
    EXPECT_EQ(JsonCodec<std::vector<QString>>::decode(parse("[\"a\", \"b\"]"))->size(), 2u);
    EXPECT_FALSE(JsonCodec<std::vector<QString>>::decode(parse("{}")));
}

TEST(JsonCodec, OptionalFieldsTreatNullAsMissingAndAreLeftOutWhenEmpty)
{
    const QJsonObject object{{"a", QJsonValue::Null}, {"b", 3}};
    std::optional<QString> a = QStringLiteral("old");
    EXPECT_TRUE(json::readOptional(object, QLatin1StringView("a"), a));
    EXPECT_FALSE(a);
    std::optional<QString> b;
    EXPECT_FALSE(json::readOptional(object, QLatin1StringView("b"), b));

    QJsonObject out;
    json::writeOptional(out, QLatin1StringView("gone"), std::optional<QString>());
    EXPECT_TRUE(out.isEmpty());
}
