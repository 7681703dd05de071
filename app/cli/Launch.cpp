#include "Launch.h"

#include "single_instance/InstanceRequests.h"

#include <VorlieVersion.h>

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

namespace vorlie {

void applyProgramIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("vorlie"));
    QCoreApplication::setOrganizationName(QStringLiteral("vorlia"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(programVersion));
}

Launch::Launch(int argc, const char *const *argv)
    : m_commandLine(CommandLine::parse(argc, argv))
{
}

std::optional<int> Launch::finishEarly()
{
    if (const std::optional<int> exitCode = answer())
        return exitCode;
    return handOver();
}

std::optional<int> Launch::answer() const
{
    switch (m_commandLine.action) {
    case CommandLine::Action::start:
        return std::nullopt;
    case CommandLine::Action::showVersion:
        std::printf("vorlie %s\n", programVersion);
        return 0;
    case CommandLine::Action::showHelp:
        std::fputs(m_commandLine.message.toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::refuse:
        std::fprintf(stderr, "%s\n", m_commandLine.message.toLocal8Bit().constData());
        return 2;
    }
    return 2;
}

std::optional<int> Launch::handOver()
{
    std::optional<InstanceRequest> request;
    if (m_commandLine.route)
        request = InstanceRequest{*m_commandLine.route, launchActivationToken()};
    else if (!m_commandLine.background)
        request = InstanceRequest{InstanceRequest::Kind::activate, launchActivationToken()};

    m_claim.emplace();
    switch (m_claim->handOver(request)) {
    case LaunchClaim::Outcome::forwarded:
        return 0;
    case LaunchClaim::Outcome::unanswered:
        std::fputs("vorlie: the running instance did not answer\n", stderr);
        return 1;
    case LaunchClaim::Outcome::first:
    case LaunchClaim::Outcome::undecided:
        break;
    }
    return std::nullopt;
}

void Launch::becomeRunningInstance(SingleInstance &instance, InstanceRequests &requests)
{
    if (m_claim)
        instance.listen(*m_claim);
    // A plain start shows the window anyway; only a URL has somewhere to go.
    if (m_commandLine.route) {
        const InstanceRequest own{*m_commandLine.route, {}};
        QTimer::singleShot(0, &requests, [&requests, own] { requests.deliver(own); });
    }
}

} // namespace vorlie
