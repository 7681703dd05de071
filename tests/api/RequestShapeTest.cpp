// How requests are addressed and how answers are judged, without a network.
#include "api/APIClient.h"
#include "api/HTTPMethod.h"
#include "api/ServiceURL.h"

#include <gtest/gtest.h>

using namespace vorlie;

namespace {
const QUrl base(QStringLiteral("https://api.example.com/api/v1"));

QByteArray errorBody(const char *code, const char *message)
{
    return QByteArray(R"({"error":{"code":")") + code + R"(","message":")" + message + R"("}})";
}
} // namespace

TEST(ServiceURL, AppendsPathSegmentsWithoutDroppingTheBase)
{
    EXPECT_EQ(serviceURL(base, QStringLiteral("sync")).toString(), QStringLiteral("https://api.example.com/api/v1/sync"));
    EXPECT_EQ(serviceURL(QUrl(QStringLiteral("https://api.example.com/api/v1/")), QStringLiteral("sync")).toString(),
              QStringLiteral("https://api.example.com/api/v1/sync"));
    EXPECT_EQ(serviceURL(base, QStringLiteral("status/favorites/") + QStringLiteral("tired")).toString(),
              QStringLiteral("https://api.example.com/api/v1/status/favorites/tired"));
}

TEST(ServiceURL, EmptyQueryAddsNoQuestionMark)
{
    const QUrl url = serviceURL(base, QStringLiteral("status/catalog"));
    EXPECT_FALSE(url.hasQuery());
    EXPECT_FALSE(url.toEncoded().contains('?'));
}

TEST(ServiceURL, QueryValuesAreFullyEncoded)
{
    const QUrl url = serviceURL(base, QStringLiteral("x"), {{QStringLiteral("q"), QStringLiteral("a+b&c=d é")}});
    EXPECT_EQ(url.toEncoded(), QByteArray("https://api.example.com/api/v1/x?q=a%2Bb%26c%3Dd%20%C3%A9"));
}

TEST(ServiceURL, CharactersThatWouldRetargetTheRequestStayInThePath)
{
    const QUrl url = serviceURL(base, QStringLiteral("status/favorites/a?b#c%d"));
    EXPECT_FALSE(url.hasQuery());
    EXPECT_FALSE(url.hasFragment());
    EXPECT_EQ(url.toEncoded(), QByteArray("https://api.example.com/api/v1/status/favorites/a%3Fb%23c%25d"));
}

TEST(HTTPMethod, WireTextRoundTripsExactly)
{
    for (HTTPMethod m : {HTTPMethod::get, HTTPMethod::post, HTTPMethod::put, HTTPMethod::patch, HTTPMethod::delete_})
        EXPECT_EQ(httpMethodFromWireText(wireText(m)), m);
    EXPECT_EQ(wireText(HTTPMethod::delete_), QByteArray("DELETE"));
    EXPECT_FALSE(httpMethodFromWireText("get"));
    EXPECT_FALSE(httpMethodFromWireText("GET "));
}

TEST(Validate, ClassifiesStatusesByTheirErrorEnvelope)
{
    EXPECT_FALSE(validate(200, {}));
    EXPECT_FALSE(validate(204, {}));
    EXPECT_FALSE(validate(299, "not json"));
    EXPECT_EQ(validate(429, errorBody("SLOW_DOWN", "later")), APIError::rateLimited());
    EXPECT_EQ(validate(429, {}), APIError::unknown(429));
    EXPECT_EQ(validate(401, errorBody("UNAUTHORIZED", "no")), APIError::unauthorized());
    EXPECT_EQ(validate(401, "<html>401</html>"), APIError::unknown(401));
    EXPECT_EQ(validate(500, errorBody("x", "y")), APIError::server(QStringLiteral("x"), QStringLiteral("y"), 500));
    EXPECT_EQ(validate(302, {}), APIError::unknown(302));
}

TEST(Validate, MalformedErrorEnvelopesAreUnknown)
{
    for (const char *body : {R"({"error":{"code":"x"}})", R"({"error":{"code":1,"message":"m"}})",
                             R"({"error":"x"})", R"([{"error":{"code":"x","message":"m"}}])",
                             R"({"error":{"code":"x","message":"m"})"}) {
        EXPECT_EQ(validate(400, body), APIError::unknown(400)) << body;
    }
}

TEST(APIError, EqualityComparesCaseAndPayload)
{
    EXPECT_EQ(APIError::unauthorized(), APIError::unauthorized());
    EXPECT_NE(APIError::unknown(401), APIError::unauthorized());
    EXPECT_NE(APIError::server(QStringLiteral("c"), QStringLiteral("m"), 400),
              APIError::server(QStringLiteral("c"), QStringLiteral("m"), 422));
    EXPECT_EQ(APIError::unknown(503), APIError::unknown(503));
}

TEST(APIError, ServerMessageIsShownVerbatimAndCancelledShowsNothing)
{
    EXPECT_EQ(APIError::server(QStringLiteral("E"), QStringLiteral("Nope"), 422).userMessage(), QStringLiteral("Nope"));
    EXPECT_TRUE(APIError::cancelled().userMessage().isEmpty());
    EXPECT_EQ(APIError::unknown(503).userMessage(), APIError::decoding().userMessage());
    EXPECT_FALSE(APIError::offline().userMessage().isEmpty());
}

TEST(ServiceError, PassThroughFailuresStayDistinctButShowable)
{
    const ServiceError transport =
        PassThroughError{PassThroughError::Origin::transport, QStringLiteral("network error 2"), APIError::offline()};
    EXPECT_EQ(transport.apiError(), nullptr);
    EXPECT_FALSE(transport.is(APIError::Kind::offline));
    EXPECT_EQ(transport.userMessage(), APIError::offline().userMessage());

    const ServiceError decoding = PassThroughError{PassThroughError::Origin::decoding, QStringLiteral("bad")};
    EXPECT_EQ(decoding.userMessage(), APIError::unknown(-1).userMessage());
}
