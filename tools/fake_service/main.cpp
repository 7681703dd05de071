// The local fake service for the demo and for manual testing:
//   vorlie-fake-service [--port N] [--print-port] [--token-lifetime S]
// Prints "listening on <base URL>" once it accepts connections and runs until
// SIGTERM or SIGINT.
#include "FakeService.h"
#include "LocalServerCommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

// Only async-signal-safe work here; the event loop picks the byte up.
void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

bool quitOnTerminationSignals(QCoreApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return false;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction action{};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 && ::sigaction(SIGINT, &action, nullptr) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vorlie-fake-service"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A local stand-in for the vorlie service."));
    parser.addHelpOption();
    const vorlie::fake::LocalServerCommandLine server(parser);
    // Short by default, so the demo really goes through token refreshes.
    const QCommandLineOption lifetimeOption(QStringLiteral("token-lifetime"), QStringLiteral("Access token lifetime in seconds."),
                                            QStringLiteral("seconds"), QStringLiteral("120"));
    parser.addOption(lifetimeOption);
    parser.process(app);

    const std::optional<quint16> requested = server.port();
    if (!requested)
        return 2;
    bool ok = false;
    const uint lifetime = parser.value(lifetimeOption).toUInt(&ok);
    if (!ok) {
        std::fprintf(stderr, "invalid token lifetime: %s\n", qPrintable(parser.value(lifetimeOption)));
        return 2;
    }
    if (!quitOnTerminationSignals(app)) {
        std::perror("signal handling");
        return 1;
    }

    vorlie::fake::FakeService service;
    service.setAccessTokenLifetime(std::chrono::seconds(lifetime));
    const quint16 port = service.listen(*requested);
    if (port == 0) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1:%u\n", *requested);
        return 1;
    }
    server.announce(QStringLiteral("http://127.0.0.1:%1/api/v1").arg(port), port);
    return QCoreApplication::exec();
}
