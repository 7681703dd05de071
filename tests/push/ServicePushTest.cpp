// The fake service pushing status changes to registered devices, through the
// development distributor, to a connector: the whole path a push takes.
#include "DevDistributorHost.h"
#include "FakeServiceHost.h"
#include "PushTestSupport.h"
#include "push/UnifiedPushConnector.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::testing;
using devpush::DevDistributorHost;
using fake::FakeServiceHost;
using fake::ServiceState;

namespace {

const QString quilId = QStringLiteral("01DEMOQUIL00000000000000000");
const QString marenId = QStringLiteral("01DEMOMAREN0000000000000000");

QString hexOf(const QString &text)
{
    return QString::fromLatin1(text.toUtf8().toHex());
}

class ServicePushTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run inside tools/test-session.sh";
        qunsetenv(UnifiedPushConnector::distributorVariable);
        connector.start();
        ASSERT_TRUE(waitForCount(endpoints, 1));
        endpoint = QString::fromUtf8(endpoints.constFirst().constFirst().toByteArray());
    }

    QJsonObject call(const QByteArray &method, const QString &userId, const QString &path, const QJsonObject &body)
    {
        const QString bearer = service.service().issueTokens(userId).accessToken;
        const HttpAnswer answer = httpExchange(method, QUrl(service.baseUrl().toString() + u'/' + path),
                                               QJsonDocument(body).toJson(QJsonDocument::Compact),
                                               {{"Authorization", "Bearer " + bearer.toUtf8()}});
        lastStatus = answer.status;
        return QJsonDocument::fromJson(answer.body).object().value("data").toObject();
    }

    QString registerDevice(const QString &userId, const QJsonValue &pushToken)
    {
        QJsonObject body{{"platform", "linux"}};
        if (!pushToken.isUndefined())
            body.insert("pushToken", pushToken);
        return call("POST", userId, QStringLiteral("devices"), body).value("deviceId").toString();
    }

    FakeServiceHost service;
    DevDistributorHost distributor;
    UnifiedPushConnector connector{uniqueConnectorName()};
    QSignalSpy endpoints{&connector, &UnifiedPushConnector::deviceTokenReceived};
    QSignalSpy messages{&connector, &UnifiedPushConnector::messageReceived};
    QString endpoint;
    int lastStatus = 0;
};

// The user's own change goes first and the partner's last; the one push that
// arrives must be the partner's.
TEST_F(ServicePushTest, PuttingAStatusNotifiesThoseWhoseMainPersonChangedItNotTheChanger)
{
    registerDevice(ServiceState::seededUserId(), hexOf(endpoint));
    call("PUT", ServiceState::seededUserId(), QStringLiteral("status/me"), {{"statusKey", "working"}, {"source", "manual"}});
    ASSERT_EQ(lastStatus, 200);
    EXPECT_TRUE(service.service().sentPushes().isEmpty()) << "nobody whose main person is the user has a device";
    call("PUT", marenId, QStringLiteral("status/me"), {{"statusKey", "gym"}, {"source", "manual"}});
    ASSERT_EQ(lastStatus, 200);
    EXPECT_TRUE(service.service().sentPushes().isEmpty()) << "Maren is nobody's main person";

    const QJsonObject status = call("PUT", quilId, QStringLiteral("status/me"), {{"statusKey", "out"}, {"source", "manual"}});
    ASSERT_EQ(lastStatus, 200);
    ASSERT_TRUE(waitForCount(messages, 1));
    ASSERT_EQ(messages.size(), 1);
    const QVariantMap userInfo = messages.constFirst().constFirst().toMap();
    EXPECT_EQ(userInfo.value("personId"), quilId);
    EXPECT_EQ(userInfo.value("statusId"), status.value("id").toString());
}

// Only a token that is the hex of an endpoint at this machine's distributor
// is pushed to, and only the devices of those watching the changer.
TEST_F(ServicePushTest, OnlyLocalEndpointsOfTheWatchersDevicesArePushedTo)
{
    const QString port = QString::number(distributor.port());
    const QStringList hostile{
        hexOf(QStringLiteral("http://example.com/push/abc")),
        hexOf(QStringLiteral("https://127.0.0.1:%1/push/abc").arg(port)),
        hexOf(QStringLiteral("http://127.0.0.1:%1@example.com/push/abc").arg(port)),
        hexOf(QStringLiteral("http://localhost:%1.example.com/push/abc").arg(port)),
        hexOf(QStringLiteral("http://127.0.0.10:%1/push/abc").arg(port)),
        QStringLiteral("zz") + hexOf(endpoint),
        hexOf(endpoint).chopped(1),
        endpoint,
        QString(),
    };
    for (const QString &token : hostile) {
        registerDevice(ServiceState::seededUserId(), token);
        ASSERT_EQ(lastStatus, 201) << token.toStdString();
    }
    registerDevice(ServiceState::seededUserId(), QJsonValue(42));
    registerDevice(ServiceState::seededUserId(), QJsonValue::Undefined);
    QString viaName = endpoint;
    viaName.replace(QStringLiteral("127.0.0.1"), QStringLiteral("localhost"));
    QStringList expected{registerDevice(ServiceState::seededUserId(), hexOf(viaName)),
                         registerDevice(ServiceState::seededUserId(), hexOf(endpoint).toUpper())};
    registerDevice(marenId, hexOf(endpoint));

    call("POST", ServiceState::seededUserId(), QStringLiteral("dev/main-person-status"), {{"statusKey", "tired"}});
    ASSERT_EQ(lastStatus, 200);
    // Pushes are handed to the network while the request is answered.
    const QList<fake::SentPush> sent = service.service().sentPushes();
    ASSERT_EQ(sent.size(), 2);
    QStringList devices{sent[0].deviceId, sent[1].deviceId};
    devices.sort();
    expected.sort();
    EXPECT_EQ(devices, expected);
    EXPECT_TRUE(waitForCount(messages, 2));
    EXPECT_EQ(messages.size(), 2);
}

} // namespace
