// The version the program gives itself reaches the service: in every
// request's User-Agent and in the device registration.
#include "support/AppStackFixture.h"
#include "cli/Launch.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <VorlieVersion.h>

using namespace vorlie;
using namespace vorlie::testing;

class ProgramIdentity : public AppStackFixture {};

TEST_F(ProgramIdentity, EveryRequestNamesTheProgramAndTheDeviceRegistrationCarriesItsVersion)
{
    applyProgramIdentity();
    startSignedIn(); // a sync, announcements and the avatar picture download
    service().expireAccessTokens();
    EXPECT_TRUE(resultOf(store->refresh())) << "the refresh exchange is one of the requests checked below";
    const Result<QString> registered = resultOf(repositories->device.registerDevice(QStringLiteral("macos_direct"), QStringLiteral("ab12"), std::nullopt));
    ASSERT_TRUE(registered) << describe(registered).toStdString();

    const QList<fake::RecordedRequest> requests = service().requests();
    const QByteArray agent = QByteArray("vorlie/") + programVersion + " (Linux)";
    QStringList seen;
    for (const fake::RecordedRequest &request : requests) {
        EXPECT_EQ(request.headers.value("user-agent"), agent) << request.method.toStdString() << ' ' << request.path.toStdString();
        seen << (request.path.endsWith(QLatin1String("/png")) ? QStringLiteral("picture") : request.path);
    }
    for (const char *path : {"sync", "auth/refresh", "devices", "picture"})
        EXPECT_TRUE(seen.contains(QLatin1String(path))) << path << " was not requested: " << seen.join(u' ').toStdString();

    const QList<fake::RecordedRequest> registrations = service().requests(QStringLiteral("devices"));
    ASSERT_EQ(registrations.size(), 1);
    const QJsonObject body = QJsonDocument::fromJson(registrations.first().body).object();
    EXPECT_EQ(body.value(QStringLiteral("appVersion")).toString(), QLatin1String(programVersion));
}
