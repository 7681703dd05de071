// After a busy session (sign-in, syncs, a picture download, token rotations,
// a sign-out and another sign-in) no token the service handed out is found
// in any file under the XDG directories or the preference folder, in
// anything the process wrote to its standard output or error, or in any
// request to the avatar host.
#include "support/AppStackFixture.h"

#include <QDirIterator>
#include <QStandardPaths>

using namespace vorlie;
using namespace vorlie::testing;

namespace {

QStringList filesUnder(const QString &dir)
{
    QStringList files;
    if (dir.isEmpty())
        return files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files;
}

} // namespace

class TokenAudit : public AppStackFixture {
protected:
    // Every token the client sent: bearer headers and refresh bodies.
    QSet<QString> tokensSeenByTheService()
    {
        QSet<QString> tokens;
        for (const fake::RecordedRequest &request : service().requests()) {
            const QByteArray bearer = request.headers.value("authorization");
            if (bearer.startsWith("Bearer "))
                tokens.insert(QString::fromUtf8(bearer.mid(7)));
            const QJsonObject body = QJsonDocument::fromJson(request.body).object();
            if (body.contains(QStringLiteral("refreshToken")))
                tokens.insert(body.value(QStringLiteral("refreshToken")).toString());
        }
        return tokens;
    }
};

TEST_F(TokenAudit, NoTokenLeavesTheKeyring)
{
    // Whoever writes to the process's standard output and error.
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const fake::Account account = fake::ServiceState::seededAccount();
    for (int round = 0; round < 2; ++round) {
        const Result<User> user = resultOf(repositories->auth.login(account.email, account.password, std::nullopt));
        ASSERT_TRUE(user);
        resultOf(store->completeSignIn(*user));
        ASSERT_TRUE(spinUntil([this] { return widget->load() && widget->load()->avatarImageData; }));
        for (int rotation = 0; rotation < 3; ++rotation) {
            service().expireAccessTokens();
            ASSERT_TRUE(resultOf(store->refresh()));
        }
        resultOf(store->signOut());
    }
    const std::string out = ::testing::internal::GetCapturedStdout();
    const QByteArray printed = QByteArray::fromStdString(out + ::testing::internal::GetCapturedStderr());

    const QSet<QString> tokens = tokensSeenByTheService();
    ASSERT_GE(tokens.size(), 8) << "the session did not rotate its tokens";
    QStringList files = filesUnder(prefsDir.path());
    for (const auto location : {QStandardPaths::GenericConfigLocation, QStandardPaths::GenericCacheLocation,
                                QStandardPaths::GenericDataLocation, QStandardPaths::RuntimeLocation})
        files << filesUnder(QStandardPaths::writableLocation(location));
    ASSERT_FALSE(files.isEmpty());
    for (const QString &path : files) {
        QFile file(path);
        const QByteArray contents = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        for (const QString &token : tokens)
            EXPECT_FALSE(contents.contains(token.toUtf8())) << "a token in " << path.toStdString();
    }
    for (const QString &token : tokens)
        EXPECT_FALSE(printed.contains(token.toUtf8())) << "a token in the program's output";

    int pictureRequests = 0;
    for (const fake::RecordedRequest &request : service().requests()) {
        if (request.rawTarget.startsWith(QLatin1StringView("/api/v1/")))
            continue;
        ++pictureRequests;
        EXPECT_FALSE(request.headers.contains("authorization")) << request.rawTarget.toStdString();
        for (const QString &token : tokens)
            EXPECT_FALSE(request.rawTarget.contains(token) || request.body.contains(token.toUtf8()));
    }
    EXPECT_GE(pictureRequests, 1);
}
