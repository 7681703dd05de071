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

// Path segments join the base, with or without its slash; characters that would
// retarget the request stay in the path; query values are fully encoded; no
// query, no question mark.
TEST(ServiceURL, BuildsExactlyTheAddressAsked)
{
    const struct {
        QUrl base;
        QString path;
        QMap<QString, QString> query;
        QByteArray expected;
    } rows[] = {
        {base, QStringLiteral("sync"), {}, "https://api.example.com/api/v1/sync"},
        {QUrl(QStringLiteral("https://api.example.com/api/v1/")), QStringLiteral("sync"), {}, "https://api.example.com/api/v1/sync"},
        {base, QStringLiteral("status/favorites/tired"), {}, "https://api.example.com/api/v1/status/favorites/tired"},
        {base, QStringLiteral("status/favorites/a?b#c%d"), {}, "https://api.example.com/api/v1/status/favorites/a%3Fb%23c%25d"},
        {base, QStringLiteral("x"), {{QStringLiteral("q"), QStringLiteral("a+b&c=d é")}},
         "https://api.example.com/api/v1/x?q=a%2Bb%26c%3Dd%20%C3%A9"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.expected.toStdString());
        const QUrl url = serviceURL(row.base, row.path, row.query);
        EXPECT_EQ(url.toEncoded(), row.expected);
        EXPECT_EQ(url.hasQuery(), !row.query.isEmpty());
        EXPECT_FALSE(url.hasFragment());
    }
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
    const std::pair<int, QByteArray> unknowns[] = {
        {429, {}}, {401, "<html>401</html>"}, {302, {}}, {400, R"({"error":{"code":"x"}})"}, {400, R"({"error":{"code":1,"message":"m"}})"},
        {400, R"({"error":"x"})"}, {400, R"([{"error":{"code":"x","message":"m"}}])"}, {400, R"({"error":{"code":"x","message":"m"})"},
    };
    for (const auto &[status, body] : unknowns)
        EXPECT_EQ(validate(status, body), APIError::unknown(status)) << body.constData();
    EXPECT_EQ(validate(429, errorBody("SLOW_DOWN", "later")), APIError::rateLimited());
    EXPECT_EQ(validate(401, errorBody("UNAUTHORIZED", "no")), APIError::unauthorized());
    EXPECT_EQ(validate(500, errorBody("x", "y")), APIError::server(QStringLiteral("x"), QStringLiteral("y"), 500));
}

TEST(APIError, ServerMessagesShowVerbatimCancelledNothingAndPassThroughFailuresTheirOwn)
{
    EXPECT_EQ(APIError::server(QStringLiteral("E"), QStringLiteral("Nope"), 422).userMessage(), QStringLiteral("Nope"));
    EXPECT_TRUE(APIError::cancelled().userMessage().isEmpty());
    EXPECT_EQ(APIError::unknown(503).userMessage(), APIError::decoding().userMessage());
    EXPECT_FALSE(APIError::offline().userMessage().isEmpty());

    const ServiceError transport =
        PassThroughError{PassThroughError::Origin::transport, QStringLiteral("network error 2"), APIError::offline()};
    EXPECT_EQ(transport.apiError(), nullptr);
    EXPECT_FALSE(transport.is(APIError::Kind::offline));
    EXPECT_EQ(transport.userMessage(), APIError::offline().userMessage());

    const ServiceError decoding = PassThroughError{PassThroughError::Origin::decoding, QStringLiteral("bad")};
    EXPECT_EQ(decoding.userMessage(), APIError::unknown(-1).userMessage());
}
