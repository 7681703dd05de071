// The credential store against the real Secret Service of the test session
// (gnome-keyring inside dbus-run-session, see tools/test-session.sh).
#include "KeychainTokenStore.h"

#include <QCoreApplication>
#include <QCoro/QCoroSignal>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>
#include <qt6keychain/keychain.h>

#include <memory>

using namespace vorlie;
using namespace std::chrono_literals;

namespace {

QString uniqueService()
{
    return QStringLiteral("com.vorlia.app.tokens.test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

class KeychainTokenStoreTest : public ::testing::Test {
protected:
    ~KeychainTokenStoreTest() override
    {
        for (const char *account : {"accessToken", "refreshToken"})
            QCoro::waitFor(store.deleteItem(QString::fromLatin1(account)));
    }

    std::optional<QString> read(const char *account) { return QCoro::waitFor(store.read(QString::fromLatin1(account))); }
    void write(const QString &value, const char *account) { QCoro::waitFor(store.write(value, QString::fromLatin1(account))); }

    KeychainTokenStore store{uniqueService()};
};

} // namespace

TEST_F(KeychainTokenStoreTest, ReadsBackExactlyWhatWasWrittenLastAndDeleteRemovesOnlyThatAccountOfThatService)
{
    EXPECT_EQ(read("accessToken"), std::nullopt);
    write(QStringLiteral("first"), "accessToken");
    const QString token = QStringLiteral("tökén-✓-🔑");
    write(token, "accessToken");
    EXPECT_EQ(read("accessToken"), token);
    // A leading byte-order mark is token text like any other.
    const QString withMark = QStringLiteral("\uFEFFmarked");
    write(withMark, "refreshToken");
    EXPECT_EQ(read("refreshToken"), withMark);
    write(QString(), "refreshToken");
    EXPECT_EQ(read("refreshToken"), QString()) << "an empty token must not read as missing";

    QCoro::waitFor(store.deleteItem(QStringLiteral("accessToken")));
    EXPECT_EQ(read("accessToken"), std::nullopt);
    EXPECT_EQ(read("refreshToken"), QString());
    QCoro::waitFor(store.deleteItem(QStringLiteral("accessToken"))); // absent: silent

    // Another service neither sees nor replaces our items.
    write(QStringLiteral("mine"), "accessToken");
    KeychainTokenStore other(uniqueService());
    EXPECT_EQ(QCoro::waitFor(other.read(QStringLiteral("accessToken"))), std::nullopt);
    QCoro::waitFor(other.write(QStringLiteral("theirs"), QStringLiteral("accessToken")));
    EXPECT_EQ(read("accessToken"), QStringLiteral("mine"));
    QCoro::waitFor(other.deleteItem(QStringLiteral("accessToken")));
}

TEST_F(KeychainTokenStoreTest, BytesThatAreNotUtf8ReadAsNoToken)
{
    // Planted behind the store's back, as another program or a damaged keyring could leave it.
    // Kept alive here: the awaited signal arrives queued, after an auto-delete would have run.
    const auto job = std::make_unique<QKeychain::WritePasswordJob>(store.service());
    job->setAutoDelete(false);
    job->setKey(QStringLiteral("accessToken"));
    job->setInsecureFallback(false);
    job->setBinaryData(QByteArray("\xff\xfe-not-utf8"));
    job->start();
    ASSERT_TRUE(QCoro::waitFor(qCoro(job.get(), &QKeychain::Job::finished, std::chrono::milliseconds(5000))).has_value());
    ASSERT_EQ(job->error(), QKeychain::NoError) << job->errorString().toStdString();

    EXPECT_EQ(read("accessToken"), std::nullopt);
}

namespace {

constexpr auto probeGuard = 500ms;

// Files anywhere under the process's own configuration and data directories.
QStringList filesUnder(QStandardPaths::StandardLocation location)
{
    QStringList files;
    QDirIterator it(QStandardPaths::writableLocation(location), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files;
}

} // namespace

// The child half of the test below, run on a bus that is missing or hung.
TEST(ChildProcess, KeychainWithoutSecretService)
{
    KeychainTokenStore store(uniqueService(), probeGuard);
    QCoro::waitFor(store.write(QStringLiteral("secret"), QStringLiteral("accessToken")));
    EXPECT_EQ(QCoro::waitFor(store.read(QStringLiteral("accessToken"))), std::nullopt);
    QCoro::waitFor(store.deleteItem(QStringLiteral("accessToken")));
    // Without a keychain the token must not have gone to a file instead.
    EXPECT_EQ(filesUnder(QStandardPaths::GenericConfigLocation), QStringList());
    EXPECT_EQ(filesUnder(QStandardPaths::GenericDataLocation), QStringList());
}

TEST(KeychainWithoutSecretService, NoBusOrAHungOneIsCutOffByTheGuard)
{
    // A socket that accepts connections and never answers: every keychain call hangs.
    QTemporaryDir dir;
    QLocalServer silent;
    ASSERT_TRUE(silent.listen(dir.filePath(QStringLiteral("bus"))));
    for (const QString &bus : {QStringLiteral("unix:path=/nonexistent/vorlie-bus"), QStringLiteral("unix:path=") + silent.fullServerName()}) {
        SCOPED_TRACE(bus.toStdString());
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus);
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        QElapsedTimer clock;
        clock.start();
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=ChildProcess.KeychainWithoutSecretService")});
        ASSERT_TRUE(child.waitForFinished(30'000)) << "the store hung";
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
        // Three operations, each bounded by the guard, plus process start-up.
        EXPECT_LT(clock.elapsed(), 3 * std::chrono::milliseconds(probeGuard).count() + 8'000);
    }
}
