#pragma once

#include <QCommandLineParser>
#include <QString>

#include <cstdio>
#include <optional>

namespace vorlie::fake {

// The options every local development server shares: where to listen and
// whether to print the bare port for scripts; and the line scripts wait for.
class LocalServerCommandLine {
public:
    explicit LocalServerCommandLine(QCommandLineParser &parser) : m_parser(parser)
    {
        parser.addOption(m_port);
        parser.addOption(m_printPort);
    }

    // The port asked for; none, after saying why, when it is not one.
    std::optional<quint16> port() const
    {
        bool ok = false;
        const uint requested = m_parser.value(m_port).toUInt(&ok);
        if (!ok || requested > 65535) {
            std::fprintf(stderr, "invalid port: %s\n", qPrintable(m_parser.value(m_port)));
            return std::nullopt;
        }
        return static_cast<quint16>(requested);
    }

    // "listening on <address>", then the bare port when asked for.
    void announce(const QString &address, quint16 port) const
    {
        std::printf("listening on %s\n", qPrintable(address));
        if (m_parser.isSet(m_printPort))
            std::printf("%u\n", port);
        std::fflush(stdout);
    }

private:
    QCommandLineParser &m_parser;
    const QCommandLineOption m_port{QStringLiteral("port"), QStringLiteral("TCP port on 127.0.0.1 (0 picks a free one)."),
                                    QStringLiteral("port"), QStringLiteral("0")};
    const QCommandLineOption m_printPort{QStringLiteral("print-port"),
                                         QStringLiteral("Also print the bare port number on a line of its own.")};
};

} // namespace vorlie::fake
