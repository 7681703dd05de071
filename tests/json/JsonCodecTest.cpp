#include "support/DecodeJson.h"
#include "json/JsonCodec.h"

#include <gtest/gtest.h>

using namespace vorlie;
using vorlie::test::decodeJson;

// Integers themselves are the reader's; here only what the codecs add.
TEST(JsonCodec, ScalarsRefuseOtherJsonTypesAndNarrowOnlyExactly)
{
    EXPECT_FALSE(decodeJson<QString>("42"));
    EXPECT_FALSE(decodeJson<bool>("\"false\""));
    EXPECT_FALSE(decodeJson<bool>("0"));
    EXPECT_EQ(decodeJson<QString>("\"x\""), QStringLiteral("x"));
    EXPECT_EQ(decodeJson<bool>("false"), false);
    EXPECT_FALSE(decodeJson<int>("4294967296"));
    EXPECT_EQ(decodeJson<int>("-12"), -12);
    EXPECT_EQ(decodeJson<double>("-12"), -12.0);
}

TEST(JsonCodec, ArrayFailsWhenOneElementFails)
{
    EXPECT_FALSE(decodeJson<std::vector<QString>>("[\"a\", 1]"));
    EXPECT_EQ(decodeJson<std::vector<QString>>("[\"a\", \"b\"]")->size(), 2u);
    EXPECT_FALSE(decodeJson<std::vector<QString>>("{}"));
}

TEST(JsonCodec, OptionalFieldsTreatNullAsMissingAndAreLeftOutWhenEmpty)
{
    const ParsedJson document = ParsedJson::parse(R"({"a": null, "b": 3})");
    const JsonView object = document.root();
    std::optional<QString> a = QStringLiteral("old");
    EXPECT_TRUE(json::readOptional(object, QLatin1StringView("a"), a));
    EXPECT_FALSE(a);
    std::optional<QString> b;
    EXPECT_FALSE(json::readOptional(object, QLatin1StringView("b"), b));

    QJsonObject out;
    json::writeOptional(out, QLatin1StringView("gone"), std::optional<QString>());
    EXPECT_TRUE(out.isEmpty());
}

TEST(JsonCodec, EscapedStringsDecodeAsTheirPlainSpelling)
{
    EXPECT_EQ(decodeJson<QDateTime>(R"("2026-01-02T03:04:05\u005a")"), decodeJson<QDateTime>(R"("2026-01-02T03:04:05Z")"));
    EXPECT_TRUE(decodeJson<QDateTime>(R"("2026-01-02T03:04:05Z")"));
    EXPECT_FALSE(decodeJson<QDateTime>(R"("2026-01-02T03:04:05\u00dc")"));
    EXPECT_FALSE(decodeJson<QDateTime>("\"2026-01-02T03:04:05\xC3\x9C\""));

    EXPECT_EQ(decodeJson<QByteArray>(R"("aGk=")"), QByteArray("hi"));
    EXPECT_EQ(decodeJson<QByteArray>(R"("aGk\u003d")"), QByteArray("hi"));
    EXPECT_EQ(decodeJson<QByteArray>(R"("aG\/=")"), QByteArray::fromBase64("aG/="));
    EXPECT_FALSE(decodeJson<QByteArray>(R"("aG!k")"));
    EXPECT_FALSE(decodeJson<QByteArray>("\"aG\xC3\xA9=\""));
    EXPECT_FALSE(decodeJson<QByteArray>(R"("aG\u00e9=")"));
}
