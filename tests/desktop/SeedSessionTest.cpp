// The seeding tool as the run command uses it: a real process signing in to
// the local fake service and leaving the tokens in the Secret Service.
#include "support/PipelineFixture.h"
#include "InstanceTestSupport.h"

using namespace vorlie;
using namespace vorlie::testing;

const QString seeder = QStringLiteral(SEED_SESSION);

class SeedSession : public PipelineFixture {
protected:
    QStringList arguments(const QString &email, const QString &password) const
    {
        return {QStringLiteral("--base-url"), host.baseUrl().toString(), QStringLiteral("--email"), email,
                QStringLiteral("--password"), password, QStringLiteral("--keychain-service"), keychainService};
    }
};

TEST_F(SeedSession, TheDemoAccountsTokensLandWhereTheProgramFindsThem)
{
    const Finished seeded = runToEnd(seeder, arguments(QStringLiteral("quorrin@example.com"), QStringLiteral("vorlie-demo")));
    ASSERT_EQ(seeded.exitCode, 0) << seeded.err.toStdString();
    EXPECT_TRUE(seeded.err.isEmpty());

    // A new session over the same keychain, as the program builds at start-up, is signed in.
    restart();
    const Result<QJsonObject> me = resultOf(client->send<QJsonObject>(get(QStringLiteral("me"))));
    ASSERT_TRUE(me) << describe(me).toStdString();
    EXPECT_EQ(me->value(QStringLiteral("email")).toString(), QStringLiteral("quorrin@example.com"));
    const std::optional<QString> access = storedToken(QStringLiteral("accessToken"));
    ASSERT_TRUE(access);
    EXPECT_FALSE(seeded.out.contains(access->toUtf8())) << "tokens are never printed";

    // --clear is how the run command starts signed out; clearing twice is no failure.
    for (int round = 0; round < 2; ++round) {
        const Finished cleared = runToEnd(seeder, {QStringLiteral("--clear"), QStringLiteral("--keychain-service"), keychainService});
        EXPECT_EQ(cleared.exitCode, 0) << cleared.err.toStdString();
    }
    EXPECT_FALSE(storedToken(QStringLiteral("accessToken")));
    EXPECT_FALSE(storedToken(QStringLiteral("refreshToken")));
}

// A refused sign-in, a sign-in whose tokens the keyring cannot keep, an
// unreachable service (1) and bad arguments (2): one line, and nothing kept.
TEST_F(SeedSession, RefusalsEndWithOneLineAndKeepNothing)
{
    // The service accepts the sign-in, but there is no Secret Service to keep the tokens.
    QProcessEnvironment noBus = QProcessEnvironment::systemEnvironment();
    noBus.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent/bus"));
    const QString base = host.baseUrl().toString();
    const struct {
        QStringList arguments;
        int exitCode;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const char *says = "";
    } refusals[] = {
        {arguments(QStringLiteral("quorrin@example.com"), QStringLiteral("wrong-password")), 1},
        {arguments(QStringLiteral("quorrin@example.com"), QStringLiteral("vorlie-demo")), 1, noBus, "Secret Service"},
        // Port 9 (discard) has no listener on 127.0.0.1.
        {QStringLiteral("--base-url http://127.0.0.1:9/api/v1 --email a@b.c --password x --keychain-service %1")
             .arg(keychainService).split(u' '), 1},
        {{}, 2},
        {QStringLiteral("--base-url ftp://127.0.0.1/api/v1 --email a@b.c --password x").split(u' '), 2},
        {QStringLiteral("--base-url %1 --email a@b.c --password x --unknown").arg(base).split(u' '), 2},
    };
    for (const auto &refusal : refusals) {
        const Finished refused = runToEnd(seeder, refusal.arguments, refusal.environment);
        EXPECT_EQ(refused.exitCode, refusal.exitCode) << refusal.arguments.join(u' ').toStdString();
        EXPECT_EQ(refused.err.count('\n'), 1) << refused.err.toStdString();
        EXPECT_TRUE(refused.err.contains(refusal.says)) << refused.err.toStdString();
    }
    EXPECT_FALSE(storedToken(QStringLiteral("accessToken")));
    EXPECT_FALSE(storedToken(QStringLiteral("refreshToken")));
}
