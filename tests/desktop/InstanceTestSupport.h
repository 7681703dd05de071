#pragma once

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace vorlie::testing {

struct Finished {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs to the end; a process still running after the deadline is a hang and fails the test.
inline Finished runToEnd(const QString &program, const QStringList &arguments,
                         const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(15000);
    EXPECT_TRUE(finished) << program.toStdString() << " hung on " << arguments.join(u' ').toStdString();
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    return Finished{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
                    process.readAllStandardError()};
}

// Runs the program and the launch driver as real processes that share one
// private runtime directory, so each test has its own instance socket.
class LaunchFixture : public ::testing::Test {
protected:
    QProcessEnvironment environment(const QStringList &extra = {}) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.remove(QStringLiteral("XDG_ACTIVATION_TOKEN"));
        env.remove(QStringLiteral("DESKTOP_STARTUP_ID"));
        for (const QString &assignment : extra)
            env.insert(assignment.section(u'=', 0, 0), assignment.section(u'=', 1));
        return env;
    }

    Finished run(const QString &program, const QStringList &arguments, const QStringList &extraEnvironment = {}) const
    {
        return runToEnd(program, arguments, environment(extraEnvironment));
    }

    // Starts the driver and waits until it says it is the running instance.
    std::unique_ptr<QProcess> startDriver(const QStringList &arguments = {}) const
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment());
        process->start(QStringLiteral(INSTANCE_DRIVER), arguments);
        const QByteArray first = readLine(*process);
        EXPECT_TRUE(first.startsWith("ready")) << "the driver said: " << first.toStdString();
        return process;
    }

    // The next line the process prints, or empty after the deadline.
    static QByteArray readLine(QProcess &process, int milliseconds = 10000)
    {
        const QDeadlineTimer deadline(milliseconds);
        while (!process.canReadLine() && !deadline.hasExpired() && process.state() != QProcess::NotRunning)
            process.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
        return process.canReadLine() ? process.readLine().trimmed() : QByteArray();
    }

    static void stop(QProcess &process)
    {
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished();
        }
    }

    // The instance sockets in the runtime directory.
    QStringList sockets() const
    {
        return QDir(runtime.path()).entryList({QStringLiteral("*.socket")}, QDir::System | QDir::Files);
    }

    QTemporaryDir runtime;
};

} // namespace vorlie::testing
