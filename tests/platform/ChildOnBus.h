#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

namespace vorlie::testing {

struct ChildRun {
    bool finished = false;
    int exitCode = -1;
    qint64 elapsedMs = 0;
    QString output;
};

// Runs one ChildProcess case of this executable with the given session bus,
// to see how the code copes with a bus that is missing or hung.
inline ChildRun runChildOnBus(const char *childCase, const QString &busAddress)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=ChildProcess.") + QLatin1StringView(childCase)});
    ChildRun run;
    run.finished = child.waitForFinished(30'000);
    run.elapsedMs = clock.elapsed();
    if (!run.finished)
        child.kill();
    child.waitForFinished();
    run.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    run.output = QString::fromLocal8Bit(child.readAll());
    return run;
}

} // namespace vorlie::testing
