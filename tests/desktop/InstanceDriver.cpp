// A stand-in for the program that goes through the same launch steps as its
// main() but, instead of building windows, prints what it is asked for: one
// line per request. "ready" tells the tests it is the running instance.
// "quit" on its input quits it; it then says "leaving" and lingers, as the
// program does while it tears down, until its input closes.
#include "cli/Launch.h"
#include "single_instance/InstanceRequests.h"
#include "single_instance/SingleInstance.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

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
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&input] {
        char line[64];
        const ssize_t size = ::read(STDIN_FILENO, line, sizeof line);
        if (size <= 0)
            input.setEnabled(false);
        else if (QByteArrayView(line, size).startsWith("quit"))
            QCoreApplication::quit();
    });
    say(launch.commandLine().background ? QStringLiteral("ready background") : QStringLiteral("ready"));
    const int exitCode = QCoreApplication::exec();
    say(QStringLiteral("leaving"));
    char rest[64];
    while (::read(STDIN_FILENO, rest, sizeof rest) > 0) {
    }
    return exitCode;
}
