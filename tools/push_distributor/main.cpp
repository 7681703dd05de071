// The development push distributor for the demo and for manual testing:
//   vorlie-push-distributor [--port N] [--print-port] [--name BUS_NAME]
// Prints "listening on http://127.0.0.1:PORT/push/" once apps can register
// and pushes can come in; runs until killed.
#include "DevDistributor.h"

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
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("TCP port on 127.0.0.1 (0 picks a free one)."),
                                        QStringLiteral("port"), QStringLiteral("0"));
    const QCommandLineOption printPortOption(QStringLiteral("print-port"),
                                             QStringLiteral("Also print the bare port number on a line of its own."));
    const QCommandLineOption nameOption(QStringLiteral("name"), QStringLiteral("Bus name to own."), QStringLiteral("name"),
                                        QString::fromLatin1(vorlie::devpush::DevDistributor::defaultBusName));
    parser.addOption(portOption);
    parser.addOption(printPortOption);
    parser.addOption(nameOption);
    parser.process(app);

    bool ok = false;
    const uint requested = parser.value(portOption).toUInt(&ok);
    if (!ok || requested > 65535) {
        std::fprintf(stderr, "invalid port: %s\n", qPrintable(parser.value(portOption)));
        return 2;
    }
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "no session bus\n");
        return 1;
    }
    vorlie::devpush::DevDistributor distributor(bus, parser.value(nameOption));
    const quint16 port = distributor.start(static_cast<quint16>(requested));
    if (port == 0) {
        std::fprintf(stderr, "cannot own %s on the session bus or listen on 127.0.0.1:%u\n", qPrintable(parser.value(nameOption)), requested);
        return 1;
    }
    std::printf("listening on http://127.0.0.1:%u/push/\n", port);
    if (parser.isSet(printPortOption))
        std::printf("%u\n", port);
    std::fflush(stdout);
    return QCoreApplication::exec();
}
