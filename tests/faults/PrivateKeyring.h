#pragma once

#include "support/SpinUntil.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <gtest/gtest.h>

namespace vorlie::testing {

// A keyring daemon can take a while to come up or go on a loaded machine.
constexpr std::chrono::seconds keyringLimit{10};

// A session bus of our own with nothing that D-Bus could start on demand, so
// the Secret Service is there exactly while a test runs one. Becomes this
// process's session bus, which Qt and libsecret pick once: one per process.
class PrivateSessionBus {
public:
    PrivateSessionBus()
    {
        const QString socket = m_dir.filePath(QStringLiteral("bus"));
        const QString config = m_dir.filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                   " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                   "<busconfig><type>session</type><listen>unix:path="
                   + socket.toUtf8()
                   + "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                     "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/>"
                     "</policy></busconfig>\n");
        file.close();
        m_daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--nofork"), QStringLiteral("--config-file=") + config});
        if (!spinUntil([&socket] { return QFile::exists(socket); }, keyringLimit))
            return;
        m_address = QStringLiteral("unix:path=") + socket;
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
    }
    ~PrivateSessionBus()
    {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    bool isUp() const { return !m_address.isEmpty(); }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
};

// A real gnome-keyring Secret Service on the private bus. Its keyring lives
// in a directory of its own that outlives a stop, so a start after a stop
// finds the items again, as after a crash of the desktop's keyring.
class KeyringDaemon {
public:
    ~KeyringDaemon() { stop(); }

    // Unlocked with a password, or left locked without one. On failure says
    // what the daemon printed, since it is a foreign program that can fail.
    ::testing::AssertionResult start(bool unlocked = true)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.path());
        m_process.setProcessEnvironment(environment);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setStandardErrorFile(m_home.filePath(QStringLiteral("daemon.log")), QIODevice::Append);
        QStringList arguments{QStringLiteral("--foreground"), QStringLiteral("--components=secrets")};
        if (unlocked)
            arguments << QStringLiteral("--unlock");
        m_process.start(QStringLiteral("gnome-keyring-daemon"), arguments);
        if (!m_process.waitForStarted())
            return ::testing::AssertionFailure() << "gnome-keyring-daemon did not start";
        // The daemon reads its password up to end of input before it takes
        // its name: hand it over now rather than whenever the loop next runs.
        if (unlocked) {
            m_process.write("test");
            m_process.waitForBytesWritten();
        }
        m_process.closeWriteChannel();
        const bool registered = spinUntil(
            [this] { return m_process.state() == QProcess::NotRunning || isRegistered(); }, keyringLimit)
            && m_process.state() == QProcess::Running;
        if (registered)
            return ::testing::AssertionSuccess();
        QFile log(m_home.filePath(QStringLiteral("daemon.log")));
        log.open(QIODevice::ReadOnly);
        return ::testing::AssertionFailure()
            << "the Secret Service did not come up; the daemon is "
            << (m_process.state() == QProcess::Running ? "running" : "gone") << " and printed: "
            << log.readAll().toStdString();
    }

    // The Secret Service goes away, as when its daemon crashes.
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished();
        spinUntil([] { return !isRegistered(); }, keyringLimit);
    }

private:
    static bool isRegistered()
    {
        return QDBusConnection::sessionBus().interface()->isServiceRegistered(QStringLiteral("org.freedesktop.secrets")).value();
    }


    QTemporaryDir m_home;
    QProcess m_process;
};

// Whether this process is the child that does a case's work on a bus of its own.
inline bool isChild()
{
    return !qEnvironmentVariableIsEmpty("VORLIE_CHILD");
}

// In the test's own process: runs the current case of `suite` again in a
// child and gives true; in the child, gives false so the case does the work.
inline bool ranInChild(const char *suite)
{
    if (isChild())
        return false;
    const QString name = QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name());
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VORLIE_CHILD"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=%1.%2").arg(QString::fromLatin1(suite), name)});
    const bool finished = child.waitForFinished(60'000);
    if (!finished)
        child.kill();
    child.waitForFinished();
    EXPECT_TRUE(finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0) << "the child run failed";
    return true;
}

} // namespace vorlie::testing
