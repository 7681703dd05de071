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
