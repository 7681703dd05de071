// vorlie-seed-session: signs in to a service the way the program does, so the
// tokens land in the Secret Service exactly where the program looks for them.
// The run command uses it to start the program already signed in.
//
//   vorlie-seed-session --base-url http://127.0.0.1:PORT/api/v1 --email E --password P
//   vorlie-seed-session --clear      (removes the tokens: the program starts signed out)
//
// Exit status: 0 signed in and the tokens kept, 1 the sign-in or the keychain
// failed, 2 bad arguments. Failures print one line on stderr; tokens are
// never printed.
#include "KeychainTokenStore.h"
#include "shell/LiveDependencies.h"
#include "api/APIError.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QCoro/QCoroTask>

#include <algorithm>
#include <cstdio>

using namespace vorlie;

namespace {

int fail(int status, QString message)
{
    // The service's own error text is part of some messages: keep them to one line.
    std::replace_if(message.begin(), message.end(), [](QChar c) { return c.category() == QChar::Other_Control; }, u' ');
    std::fprintf(stderr, "vorlie-seed-session: %s\n", message.toLocal8Bit().constData());
    return status;
}

// The session drops tokens the Secret Service refuses; only a read-back
// proves the program will find them at its next start.
QCoro::Task<bool> tokensKept(QString service)
{
    KeychainTokenStore store(std::move(service));
    const std::optional<QString> access = co_await store.read(QStringLiteral("accessToken"));
    const std::optional<QString> refresh = co_await store.read(QStringLiteral("refreshToken"));
    co_return access && refresh;
}

QCoro::Task<int> clear(QString service)
{
    KeychainTokenStore store(std::move(service));
    for (const char *account : {"accessToken", "refreshToken"}) {
        if (co_await store.deleteItem(QString::fromLatin1(account)) != CredentialStoreState::available)
            co_return fail(1, QStringLiteral("the Secret Service did not remove the tokens (is a keyring running and unlocked?)"));
    }
    co_return 0;
}

struct Seeding {
    QUrl baseURL;
    QString email;
    QString password;
    QString keychainService;
};

QCoro::Task<int> seed(Seeding seeding)
{
    LiveDependencies live(seeding.baseURL, seeding.keychainService);
    const Result<User> user = co_await live.dependencies().authRepository.login(seeding.email, seeding.password, std::nullopt);
    if (!user)
        co_return fail(1, QStringLiteral("the sign-in at %1 failed: %2").arg(seeding.baseURL.toString(), describe(user.error())));
    if (!co_await tokensKept(seeding.keychainService))
        co_return fail(1, QStringLiteral("the Secret Service did not keep the tokens (is a keyring running and unlocked?)"));
    std::printf("signed in as %s\n", seeding.email.toLocal8Bit().constData());
    co_return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption baseURL(QStringLiteral("base-url"), QStringLiteral("The service, ending in /api/v1."), QStringLiteral("url"));
    const QCommandLineOption email(QStringLiteral("email"), QStringLiteral("The account's e-mail address."), QStringLiteral("email"));
    const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("The account's password."), QStringLiteral("password"));
    const QCommandLineOption keychainService(QStringLiteral("keychain-service"),
                                             QStringLiteral("Where the tokens go; tests use names of their own."),
                                             QStringLiteral("name"), LiveDependencies::keychainService());
    const QCommandLineOption clearTokens(QStringLiteral("clear"), QStringLiteral("Remove the tokens instead."));
    parser.addOptions({baseURL, email, password, keychainService, clearTokens});
    if (!parser.parse(QCoreApplication::arguments()))
        return fail(2, parser.errorText());
    if (parser.isSet(clearTokens))
        return QCoro::waitFor(clear(parser.value(keychainService)));
    for (const QCommandLineOption &required : {baseURL, email, password}) {
        if (parser.value(required).isEmpty())
            return fail(2, QStringLiteral("--%1 is required").arg(required.names().constFirst()));
    }
    const QUrl url(parser.value(baseURL), QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https") || url.host().isEmpty())
        return fail(2, QStringLiteral("--base-url needs an http or https URL"));

    return QCoro::waitFor(seed({url, parser.value(email), parser.value(password), parser.value(keychainService)}));
}
