// An app's connector and the development distributor meeting on the test
// session's private bus, with pushes coming in over real HTTP.
#include "DevDistributorHost.h"
#include "PushTestSupport.h"
#include "push/UnifiedPushConnector.h"

#include <QDBusMessage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <optional>

using namespace vorlie;
using namespace vorlie::testing;
using devpush::DevDistributorHost;

namespace {

// Calls the connector as the distributor would, from someone else on the bus.
void callConnector(BusPeer &peer, const UnifiedPushConnector &connector, const char *method, const QVariantList &arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(connector.serviceName(), QString::fromLatin1(UnifiedPushConnector::objectPath),
                                                       QString::fromLatin1(UnifiedPushConnector::interfaceName), QString::fromLatin1(method));
    call.setArguments(arguments);
    peer.bus().send(call);
}

class ConnectorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run inside tools/test-session.sh";
        qunsetenv(UnifiedPushConnector::distributorVariable);
    }

    // Starts the connector and gives the endpoint the distributor handed out.
    QUrl registerConnector()
    {
        connector.start();
        if (!waitForCount(endpoints, 1))
            return {};
        return QUrl(QString::fromUtf8(endpoints.constFirst().constFirst().toByteArray()));
    }

    DevDistributorHost distributor;
    UnifiedPushConnector connector{uniqueConnectorName()};
    QSignalSpy endpoints{&connector, &UnifiedPushConnector::deviceTokenReceived};
    QSignalSpy messages{&connector, &UnifiedPushConnector::messageReceived};
    QSignalSpy failures{&connector, &UnifiedPushConnector::registrationFailed};
};

// The posts to other addresses come first; the one message that arrives is the last post's.
TEST_F(ConnectorTest, RegistersAndGetsPostsToItsLocalEndpointOnlyWithTheirTypesKeptAndOnlyAsOneSmallJsonObject)
{
    const QUrl endpoint = registerConnector();
    ASSERT_TRUE(endpoint.isValid());
    const QString root = QStringLiteral("http://127.0.0.1:%1").arg(distributor.port());
    EXPECT_EQ(endpoint.adjusted(QUrl::RemovePath), QUrl(root));
    EXPECT_TRUE(endpoint.path().startsWith(u"/push/")) << endpoint.toString().toStdString();
    EXPECT_EQ(connector.distributor(), distributor.busName());
    EXPECT_EQ(endpoints.size(), 1);
    EXPECT_TRUE(failures.isEmpty());

    for (const char *path : {"/push/0123456789abcdef", "/push/", "/elsewhere"})
        EXPECT_EQ(post(QUrl(root + QLatin1StringView(path)), "{}").status, 404) << path;
    EXPECT_EQ(httpExchange("GET", endpoint).status, 405);
    EXPECT_EQ(post(endpoint, R"({"type":"partner_status_changed","personId":"p1","count":3})").status, 201);
    ASSERT_TRUE(waitForCount(messages, 1));
    ASSERT_EQ(messages.size(), 1);
    const QVariantMap userInfo = messages.constFirst().constFirst().toMap();
    // A text in place of the number would compare equal: its type is checked on its own.
    EXPECT_EQ(userInfo, (QVariantMap{{"type", QStringLiteral("partner_status_changed")}, {"personId", QStringLiteral("p1")}, {"count", 3}}));
    const QVariant count = userInfo.value("count");
    EXPECT_TRUE(count.typeId() == QMetaType::Double || count.typeId() == QMetaType::LongLong) << count.typeName();

    // Each refused body is followed by a good one; the bus keeps their order,
    // so the good one arriving alone shows the others were dropped.
    messages.clear();
    for (const char *body : {"not json at all", R"(["type","partner_status_changed"])", R"("a string")", R"({"type":"truncated")"})
        EXPECT_EQ(post(endpoint, body).status, 201) << body;
    const QByteArray big = R"({"type":"x","pad":")" + QByteArray(5000, 'a') + R"("})";
    EXPECT_EQ(post(endpoint, big).status, 413) << "the distributor takes at most 4096 bytes";
    EXPECT_EQ(post(endpoint, R"({"type":"last"})").status, 201);

    ASSERT_TRUE(waitForCount(messages, 1));
    ASSERT_EQ(messages.size(), 1) << "only the last body is an object";
    EXPECT_EQ(messages.constFirst().constFirst().toMap().value("type"), QStringLiteral("last"));
}

// Calls quoting another token, a body one byte over the limit (sent straight
// over the bus, past the distributor's own limit) and an endpoint longer than
// any URL come first; the bus keeps their order, so the good calls after them
// arriving alone show they were ignored. Unregistering at the distributor is
// then confirmed and retires the endpoint.
TEST_F(ConnectorTest, ForeignOrOversizedCallsAreIgnoredAndUnregisteringRetiresTheEndpoint)
{
    const QUrl endpoint = registerConnector();
    ASSERT_TRUE(endpoint.isValid());
    QSignalSpy unregistered(&connector, &UnifiedPushConnector::unregistered);
    const auto padded = [](const QByteArray &type, qsizetype size) {
        const QByteArray head = R"({"type":")" + type + R"(","pad":")";
        const QByteArray tail = R"("})";
        return head + QByteArray(size - head.size() - tail.size(), 'b') + tail;
    };
    BusPeer peer(QStringLiteral("intruder"));
    const QString foreign = QStringLiteral("not-the-token");
    callConnector(peer, connector, "Message", {foreign, QByteArray(R"({"type":"forged"})"), QStringLiteral("x")});
    callConnector(peer, connector, "NewEndpoint", {foreign, QStringLiteral("http://127.0.0.1:1/forged")});
    callConnector(peer, connector, "Unregistered", {foreign});
    callConnector(peer, connector, "Message", {connector.token(), padded("over", 4097), QStringLiteral("m1")});
    const QString tooLong = QStringLiteral("http://127.0.0.1:1/") + QString(UnifiedPushConnector::maxEndpointLength, u'x');
    callConnector(peer, connector, "NewEndpoint", {connector.token(), tooLong});
    callConnector(peer, connector, "Message", {connector.token(), padded("edge", 4096), QStringLiteral("m2")});
    callConnector(peer, connector, "NewEndpoint", {connector.token(), QStringLiteral("http://127.0.0.1:1/new")});

    ASSERT_TRUE(waitForCount(messages, 1));
    ASSERT_TRUE(waitForCount(endpoints, 2));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.constFirst().constFirst().toMap().value("type"), QStringLiteral("edge"));
    EXPECT_EQ(endpoints.size(), 2);
    EXPECT_EQ(endpoints.constLast().constFirst().toByteArray(), QByteArray("http://127.0.0.1:1/new"));
    EXPECT_TRUE(unregistered.isEmpty());

    QDBusMessage unregister = QDBusMessage::createMethodCall(distributor.busName(), QStringLiteral("/org/unifiedpush/Distributor"),
                                                             QStringLiteral("org.unifiedpush.Distributor1"), QStringLiteral("Unregister"));
    unregister.setArguments({connector.token()});
    peer.bus().send(unregister);
    ASSERT_TRUE(waitForCount(unregistered, 1));
    EXPECT_EQ(post(endpoint, R"({"type":"late"})").status, 404);
    EXPECT_EQ(messages.size(), 1);
}

TEST(ConnectorDiscovery, TheFirstDistributorByNameIsChosenUnlessOneIsNamed)
{
    qunsetenv(UnifiedPushConnector::distributorVariable);
    DevDistributorHost later(QStringLiteral("org.unifiedpush.Distributor.zz_later"));
    DevDistributorHost first(QStringLiteral("org.unifiedpush.Distributor.aa_first"));
    for (const DevDistributorHost *expected : {&first, &later}) {
        if (expected == &later)
            qputenv(UnifiedPushConnector::distributorVariable, later.busName().toUtf8());
        UnifiedPushConnector connector(uniqueConnectorName());
        QSignalSpy endpoints(&connector, &UnifiedPushConnector::deviceTokenReceived);
        connector.start();
        EXPECT_TRUE(waitForCount(endpoints, 1));
        EXPECT_EQ(connector.distributor(), expected->busName());
        EXPECT_EQ(QUrl(QString::fromUtf8(endpoints.value(0).value(0).toByteArray())).port(), expected->port());
    }
    qunsetenv(UnifiedPushConnector::distributorVariable);
}

TEST(ConnectorDiscovery, WithoutAUsableDistributorOrNameRegistrationFailsQuietly)
{
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run inside tools/test-session.sh";
    BusPeer squatter(QStringLiteral("squatter"));
    const QString taken = uniqueConnectorName();
    ASSERT_TRUE(squatter.bus().registerService(taken));
    const struct {
        const char *name;
        const char *distributor; // the one asked for by name, if any
        bool onBus;
        bool nameTaken;
    } cases[] = {
        {"no distributor at all", nullptr, true, false},
        {"the named one absent", "org.unifiedpush.Distributor.absent", true, false},
        {"no bus", nullptr, false, false},
        {"our name taken while a distributor runs", nullptr, true, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const LogCapture log;
        if (c.distributor)
            qputenv(UnifiedPushConnector::distributorVariable, c.distributor);
        else
            qunsetenv(UnifiedPushConnector::distributorVariable);
        std::optional<DevDistributorHost> distributor;
        if (c.nameTaken)
            distributor.emplace();
        const QString name = c.nameTaken ? taken : uniqueConnectorName();
        UnifiedPushConnector connector(name, c.onBus ? QDBusConnection::sessionBus() : QDBusConnection(QStringLiteral("never-connected")));
        QSignalSpy endpoints(&connector, &UnifiedPushConnector::deviceTokenReceived);
        QSignalSpy failures(&connector, &UnifiedPushConnector::registrationFailed);
        connector.start();
        if (c.onBus) {
            EXPECT_TRUE(failures.isEmpty()) << "outcomes arrive after start() returns";
        }
        ASSERT_TRUE(waitForCount(failures, 1));
        EXPECT_EQ(failures.size(), 1);
        EXPECT_TRUE(endpoints.isEmpty());
        if (!c.nameTaken) { // a taken name is worth a word in the log
            EXPECT_TRUE(log.lines().isEmpty()) << log.lines().join(u'\n').toStdString();
        }
    }
    qunsetenv(UnifiedPushConnector::distributorVariable);
}

} // namespace
