// A stand-in for the program that goes through the same launch steps as its
// main() but, instead of building windows, prints what it is asked for: one
// line per request. "ready" tells the tests it is the running instance.
#include "cli/Launch.h"
#include "single_instance/InstanceRequests.h"
#include "single_instance/SingleInstance.h"

#include <QCoreApplication>

#include <cstdio>

namespace {
void say(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}
} // namespace

int main(int argc, char *argv[])
{
    vorlie::Launch launch(argc, argv);
    if (const std::optional<int> exitCode = launch.finishEarly())
        return *exitCode;

    QCoreApplication app(argc, argv);
    vorlie::applyProgramIdentity();
    vorlie::InstanceRequests requests;
    QObject::connect(&requests, &vorlie::InstanceRequests::activateRequested, [](const QString &token) {
        say(QStringLiteral("activate ") + token);
    });
    QObject::connect(&requests, &vorlie::InstanceRequests::homeRequested, [] { say(QStringLiteral("home")); });
    QObject::connect(&requests, &vorlie::InstanceRequests::statusPickerRequested, [] { say(QStringLiteral("status")); });
    vorlie::SingleInstance instance(requests);
    launch.becomeRunningInstance(instance, requests);
    say(launch.commandLine().background ? QStringLiteral("ready background") : QStringLiteral("ready"));
    return QCoreApplication::exec();
}
