// The development push distributor for the demo and for manual testing:
//   vorlie-push-distributor [--port N] [--print-port] [--name BUS_NAME]
// Prints "listening on http://127.0.0.1:PORT/push/" once apps can register
// and pushes can come in; runs until killed.
#include "DevDistributor.h"
#include "LocalServerCommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vorlie-push-distributor"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A UnifiedPush distributor on the session bus that takes pushes over local HTTP."));
    parser.addHelpOption();
    const vorlie::fake::LocalServerCommandLine server(parser);
    const QCommandLineOption nameOption(QStringLiteral("name"), QStringLiteral("Bus name to own."), QStringLiteral("name"),
                                        QString::fromLatin1(vorlie::devpush::DevDistributor::defaultBusName));
    parser.addOption(nameOption);
    parser.process(app);

    const std::optional<quint16> requested = server.port();
    if (!requested)
        return 2;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "no session bus\n");
        return 1;
    }
    vorlie::devpush::DevDistributor distributor(bus, parser.value(nameOption));
    const quint16 port = distributor.start(*requested);
    if (port == 0) {
        std::fprintf(stderr, "cannot own %s on the session bus or listen on 127.0.0.1:%u\n", qPrintable(parser.value(nameOption)), *requested);
        return 1;
    }
    server.announce(QStringLiteral("http://127.0.0.1:%1/push/").arg(port), port);
    return QCoreApplication::exec();
}
