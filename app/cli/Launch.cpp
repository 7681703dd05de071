#include "Launch.h"

#include "single_instance/InstanceRequests.h"
#include "single_instance/SingleInstance.h"

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

std::optional<int> answerWithoutStarting(const CommandLine &commandLine)
{
    switch (commandLine.action) {
    case CommandLine::Action::start:
        return std::nullopt;
    case CommandLine::Action::showVersion:
        std::printf("vorlie %s\n", programVersion);
        return 0;
    case CommandLine::Action::showHelp:
        std::fputs(commandLine.message.toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::refuse:
        std::fprintf(stderr, "%s\n", commandLine.message.toLocal8Bit().constData());
        return 2;
    }
    return 2;
}

std::optional<int> handOverToRunningInstance(LaunchClaim &claim, const CommandLine &commandLine)
{
    std::optional<InstanceRequest> request;
    if (commandLine.route)
        request = InstanceRequest{*commandLine.route, launchActivationToken()};
    else if (!commandLine.background)
        request = InstanceRequest{InstanceRequest::Kind::activate, launchActivationToken()};

    switch (claim.handOver(request)) {
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

void becomeRunningInstance(SingleInstance &instance, LaunchClaim &claim, InstanceRequests &requests, const CommandLine &commandLine)
{
    instance.listen(claim);
    // A plain start shows the window anyway; only a URL has somewhere to go.
    if (commandLine.route) {
        const InstanceRequest own{*commandLine.route, {}};
        QTimer::singleShot(0, &requests, [&requests, own] { requests.deliver(own); });
    }
}

} // namespace vorlie
