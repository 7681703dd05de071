// Launches of the program as separate processes: the first one runs, later
// ones hand their request over and end, and bad URLs are refused by both.
#include "InstanceTestSupport.h"

#include <QFile>
#include <QLocalSocket>
#include <VorlieVersion.h>

#include <csignal>
#include <cstring>

using namespace vorlie::testing;

namespace {

const QString driver = QStringLiteral(INSTANCE_DRIVER);
const QString program = QStringLiteral(VORLIE_PROGRAM);

// Each must be refused by a first and by a later launch alike: one of a
// kind for every way a URL can miss the two it may be.
const QList<QByteArray> hostileURLs{
    "vorlia://home/",
    "vorlia://status?open=1",
    "vorlia:home",
    "javascript:alert(1)",
    "",
    "vorlia://\xe2\x84\xaaome",    // the Kelvin sign folds to "k"
    "vorlia://home\nvorlia://status", // would break the one refusal line
    "vorlia://ho\xffme",           // not UTF-8
    "vorlia://home" + QByteArray(100000, '/'),
};

// QProcess hands arguments over as UTF-8; a shell gets the exact bytes, even
// those that are no UTF-8 at all, onto the program's command line.
QStringList throughShell(const QString &target, const QByteArray &raw)
{
    QString escaped;
    for (const char byte : raw) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= 0x20 && code < 0x7f && byte != '\\')
            escaped += QLatin1Char(byte);
        else
            escaped += QStringLiteral("\\0%1").arg(code, 3, 8, QLatin1Char('0'));
    }
    return {QStringLiteral("-c"), QStringLiteral("exec \"$0\" \"$(printf %b \"$1\")\""), target, escaped};
}

} // namespace

TEST_F(LaunchFixture, ASecondLaunchHandsItsRequestToTheRunningInstanceWhoseSocketHostilePeersDoNotBlock)
{
    auto primary = startDriver();
    ASSERT_EQ(sockets().size(), 1);

    const Finished plain = run(driver, {});
    EXPECT_EQ(plain.exitCode, 0) << plain.err.toStdString();
    EXPECT_EQ(readLine(*primary), QByteArray("activate"));

    const Finished status = run(driver, {QStringLiteral("vorlia://status")}, {QStringLiteral("XDG_ACTIVATION_TOKEN=wl-token_42")});
    EXPECT_EQ(status.exitCode, 0) << status.err.toStdString();
    EXPECT_EQ(readLine(*primary), QByteArray("activate wl-token_42"));
    EXPECT_EQ(readLine(*primary), QByteArray("status"));

    const Finished home = run(program, {QStringLiteral("VORLIA://Home")}, {QStringLiteral("DESKTOP_STARTUP_ID=host-123-vorlie_TIME456")});
    EXPECT_EQ(home.exitCode, 0) << "the real program forwards the same way: " << home.err.toStdString();
    EXPECT_EQ(readLine(*primary), QByteArray("activate host-123-vorlie_TIME456"));
    EXPECT_EQ(readLine(*primary), QByteArray("home"));

    // A token that could break the X11 startup message is not passed on; the activation still is.
    const Finished quoted = run(driver, {}, {QStringLiteral("DESKTOP_STARTUP_ID=a\"b c")});
    EXPECT_EQ(quoted.exitCode, 0);
    EXPECT_EQ(readLine(*primary), QByteArray("activate"));

    // An autostart while the program already runs changes nothing.
    const Finished background = run(driver, {QStringLiteral("--background")});
    EXPECT_EQ(background.exitCode, 0);
    EXPECT_TRUE(readLine(*primary, 300).isEmpty());

    // The socket is the user's alone; peers that stay silent, send junk, send
    // an endless line, or send a request the program would never send do not block it.
    const QString path = runtime.filePath(sockets().first());
    EXPECT_EQ(QFile::permissions(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    const QList<QByteArray> junk{QByteArray(), QByteArray("hello\n"), QByteArray(1 << 20, 'x'),
                                 QByteArray(R"({"request":"quit","token":""})" "\n"),
                                 QByteArray(R"({"request":"home","token":"a\"b"})" "\n"),
                                 QByteArray(R"({"request":"home","token":"","extra":1})" "\n")};
    std::vector<std::unique_ptr<QLocalSocket>> peers;
    for (const QByteArray &bytes : junk) {
        peers.push_back(std::make_unique<QLocalSocket>());
        peers.back()->connectToServer(path);
        ASSERT_TRUE(peers.back()->waitForConnected(2000));
        peers.back()->write(bytes);
        peers.back()->waitForBytesWritten(2000);
    }

    const Finished real = run(driver, {QStringLiteral("vorlia://status")});
    EXPECT_EQ(real.exitCode, 0) << real.err.toStdString();
    EXPECT_EQ(readLine(*primary), QByteArray("activate"));
    EXPECT_EQ(readLine(*primary), QByteArray("status")) << "none of the junk was taken as a request";
    for (auto &peer : peers) {
        peer->waitForDisconnected(4000);
        EXPECT_EQ(peer->state(), QLocalSocket::UnconnectedState) << "the instance drops peers that do not finish a request";
        EXPECT_FALSE(peer->readAll().contains("ok"));
    }
    EXPECT_EQ(primary->state(), QProcess::Running);
    stop(*primary);
}

// Started again right after Quit, while the old instance is still tearing
// down: the new launch runs instead of handing itself to the leaving one.
TEST_F(LaunchFixture, ALaunchWhileTheRunningInstanceQuitsRunsAnew)
{
    auto leaving = startDriver();
    leaving->write("quit\n");
    ASSERT_EQ(readLine(*leaving), QByteArray("leaving"));

    auto next = startDriver({QStringLiteral("--background")});
    EXPECT_EQ(next->state(), QProcess::Running);

    leaving->closeWriteChannel();
    EXPECT_TRUE(leaving->waitForFinished(5000));
    stop(*next);
}

// A session ending, a service manager stopping it, Ctrl+C in a terminal, a
// terminal closing: the program quits as its own Quit does, and the instance
// socket goes with it.
TEST_F(LaunchFixture, TerminationSignalsQuitTheProgramAsItsOwnQuitDoes)
{
    const QTemporaryDir config;
    // No service to reach, whatever tokens the test keyring holds.
    const QStringList quietWorld{QStringLiteral("QT_QPA_PLATFORM=offscreen"), QStringLiteral("XDG_CONFIG_HOME=") + config.path(),
                                 QStringLiteral("VORLIE_API_BASE_URL=http://127.0.0.1:9/api/v1")};
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(::strsignal(signal));
        QProcess running;
        running.setProcessEnvironment(environment(quietWorld));
        running.start(program, {QStringLiteral("--background")});
        const QDeadlineTimer deadline(10000);
        while (sockets().size() != 1 && !deadline.hasExpired() && !running.waitForFinished(50)) {
        }
        ASSERT_EQ(sockets().size(), 1) << "never became the running instance";
        ::kill(static_cast<pid_t>(running.processId()), signal);
        ASSERT_TRUE(running.waitForFinished(10000));
        EXPECT_EQ(running.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(running.exitCode(), 0);
        EXPECT_TRUE(sockets().isEmpty());
    }
}

TEST_F(LaunchFixture, RefusedURLsEndWithStatusTwoAndOneLineInFirstAndLaterLaunches)
{
    for (const QByteArray &url : hostileURLs) {
        const Finished first = run(QStringLiteral("/bin/sh"), throughShell(program, url));
        EXPECT_EQ(first.exitCode, 2) << url.left(80).toStdString();
        EXPECT_EQ(first.err.count('\n'), 1) << first.err.left(300).toStdString();
        EXPECT_TRUE(first.err.startsWith("vorlie: ")) << first.err.left(300).toStdString();
        EXPECT_LT(first.err.size(), 300) << "the refusal quotes only a short, printable part";
        EXPECT_TRUE(first.out.isEmpty());
    }
    EXPECT_TRUE(sockets().isEmpty()) << "a refused first launch never becomes the running instance";

    auto primary = startDriver();
    for (const QByteArray &url : hostileURLs) {
        const Finished later = run(QStringLiteral("/bin/sh"), throughShell(driver, url));
        EXPECT_EQ(later.exitCode, 2) << url.left(80).toStdString();
        EXPECT_EQ(later.err.count('\n'), 1) << later.err.left(300).toStdString();
    }
    EXPECT_TRUE(readLine(*primary, 300).isEmpty()) << "the running instance heard nothing of them";
    stop(*primary);
}

TEST_F(LaunchFixture, VersionAndHelpNeedNoDisplayAndBadArgumentsAreRefused)
{
    const QStringList noDisplay{QStringLiteral("DISPLAY="), QStringLiteral("WAYLAND_DISPLAY="), QStringLiteral("QT_QPA_PLATFORM=")};
    const Finished version = run(program, {QStringLiteral("--version")}, noDisplay);
    EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
    EXPECT_EQ(version.out, QByteArray("vorlie ") + vorlie::programVersion + '\n');
    EXPECT_TRUE(version.err.isEmpty());

    const Finished help = run(program, {QStringLiteral("--help")}, noDisplay);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: vorlie ")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("--background"));

    // Bad arguments are refused like bad URLs.
    for (const QStringList &arguments : {QStringList{QStringLiteral("--bogus")}, QStringList{QStringLiteral("vorlia://home"), QStringLiteral("vorlia://status")},
                                         QStringList{QStringLiteral("-platform")}}) {
        const Finished refused = run(program, arguments);
        EXPECT_EQ(refused.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_EQ(refused.err.count('\n'), 1) << refused.err.toStdString();
    }
}

TEST_F(LaunchFixture, AFirstLaunchTakesItsOwnURLAndTheSocketItLeavesWhenKilledDoesNotBlockTheNext)
{
    auto killed = startDriver({QStringLiteral("vorlia://status")});
    EXPECT_EQ(readLine(*killed), QByteArray("activate"));
    EXPECT_EQ(readLine(*killed), QByteArray("status"));
    ASSERT_EQ(sockets().size(), 1);
    ::kill(static_cast<pid_t>(killed->processId()), SIGKILL);
    killed->waitForFinished();
    ASSERT_EQ(sockets().size(), 1) << "the killed instance left its socket behind";

    auto next = startDriver({QStringLiteral("--background")});
    const Finished forwarded = run(driver, {QStringLiteral("vorlia://home")});
    EXPECT_EQ(forwarded.exitCode, 0) << forwarded.err.toStdString();
    EXPECT_EQ(readLine(*next), QByteArray("activate"));
    EXPECT_EQ(readLine(*next), QByteArray("home"));
    stop(*next);
}

TEST_F(LaunchFixture, LaunchesAtTheSameMomentLeaveOneRunningInstance)
{
    std::vector<std::unique_ptr<QProcess>> launches;
    for (int i = 0; i < 4; ++i) {
        launches.push_back(std::make_unique<QProcess>());
        launches.back()->setProcessEnvironment(environment());
        launches.back()->start(driver, {});
    }
    int running = 0;
    int forwarded = 0;
    for (auto &launch : launches) {
        if (launch->waitForFinished(3000))
            forwarded += launch->exitCode() == 0 ? 1 : 0;
        else
            ++running;
    }
    EXPECT_EQ(running, 1);
    EXPECT_EQ(forwarded, 3);
    for (auto &launch : launches)
        stop(*launch);
}
