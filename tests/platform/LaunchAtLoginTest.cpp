// Launch at login: the XDG autostart entry on disk and the switch over it.
#include "XdgAutostart.h"
#include "login/LaunchAtLogin.h"
#include "prefs/PrefsFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vorlie;
using Status = LoginItemService::Status;

namespace {

// The keys of the [Desktop Entry] group, read the way a session reads them
// (QSettings would strip the quotes of Exec).
QMap<QString, QString> readEntry(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QMap<QString, QString> keys;
    bool inGroup = false;
    for (const QByteArray &rawLine : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.startsWith(u'['))
            inGroup = line == u"[Desktop Entry]";
        else if (inGroup && line.contains(u'='))
            keys.insert(line.section(u'=', 0, 0).trimmed(), line.section(u'=', 1).trimmed());
    }
    return keys;
}

} // namespace

TEST(XdgAutostart, RegistrationWritesARunnableEntryOverOneTheSessionWouldSkipAndUnregistrationRemovesIt)
{
    QTemporaryDir dir;
    XdgAutostart autostart(dir.filePath(QStringLiteral("autostart")), QStringLiteral("/opt/My Apps/vorlie"));
    const QMap<QString, QString> written{{"Type", "Application"}, {"Name", "vorlie"}, {"Exec", "\"/opt/My Apps/vorlie\" --background"},
                                         {"Terminal", "false"}, {"X-GNOME-Autostart-enabled", "true"}, {"X-GNOME-Autostart-Delay", "2"}};
    EXPECT_EQ(autostart.status(), Status::notRegistered);
    ASSERT_TRUE(autostart.registerItem()) << "the autostart directory is created on demand";
    EXPECT_EQ(autostart.status(), Status::enabled);
    EXPECT_EQ(readEntry(autostart.entryPath()), written);
    ASSERT_TRUE(autostart.unregisterItem());
    EXPECT_EQ(autostart.status(), Status::notRegistered);
    EXPECT_FALSE(QFile::exists(autostart.entryPath()));
    EXPECT_TRUE(autostart.unregisterItem()) << "removing an absent entry is no failure";

    const QByteArray runnable("[Desktop Entry]\nType=Application\nExec=vorlie\n");
    writeRaw(autostart.entryPath(), runnable);
    EXPECT_EQ(autostart.status(), Status::enabled) << "an entry written by hand counts too";
    for (const QByteArray &content : {runnable + "Hidden=true\n", runnable + "X-GNOME-Autostart-enabled=false\n",
                                      QByteArray("Type=Application\nExec=vorlie\n"), QByteArray("[Desktop Entry]\nType=Link\nExec=vorlie\n"),
                                      QByteArray("[Desktop Entry]\nType=Application\n"), QByteArray("\x00\xff garbage", 10)}) {
        writeRaw(autostart.entryPath(), content);
        EXPECT_EQ(autostart.status(), Status::notRegistered) << content.toStdString();
    }
    // Registering again replaces such an entry whole.
    writeRaw(autostart.entryPath(), runnable + "Hidden=true\nComment=left over\n");
    ASSERT_TRUE(autostart.registerItem());
    EXPECT_EQ(readEntry(autostart.entryPath()), written);
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("autostart"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("vorlie.desktop")})
        << "no temporary file may be left behind";
}

// A blocked autostart directory is the settings screen's case.
TEST(XdgAutostart, ExecQuotesCharactersTheDesktopEntryFormatReservesAndRefusesAPathItCannotCarry)
{
    QTemporaryDir dir;
    for (const QString &program : {QStringLiteral("vorlie"), QStringLiteral("/usr/bin/vor\nlie")}) {
        XdgAutostart autostart(dir.path(), program);
        EXPECT_FALSE(autostart.registerItem()) << program.toStdString();
        EXPECT_FALSE(QFile::exists(autostart.entryPath()));
    }
    EXPECT_EQ(desktopEntryExec(QStringLiteral("/usr/bin/vorlie")), QStringLiteral("\"/usr/bin/vorlie\""));
    // Quoting escapes " ` $ \ with a backslash, string escaping doubles each
    // backslash, and % is doubled so it starts no field code.
    EXPECT_EQ(desktopEntryExec(QStringLiteral("/a$b/100%/c\"d`e")), QStringLiteral("\"/a\\\\$b/100%%/c\\\\\"d\\\\`e\""));
    EXPECT_EQ(desktopEntryExec(QStringLiteral("/a\\b")), QStringLiteral("\"/a\\\\\\\\b\""));
}

// The switch over the user's own entry, which asks the desktop only when the
// entry differs from the wish: one the user wrote by hand stays as it is.
TEST(LaunchAtLogin, FollowsTheWishInTheUsersAutostartDirectoryAndLeavesAMatchingEntryAlone)
{
    // The test main points XDG_CONFIG_HOME at a private directory.
    XdgAutostart autostart;
    const QString path = autostart.entryPath();
    EXPECT_EQ(path, qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/autostart/vorlie.desktop"));
    LaunchAtLogin launch(autostart);
    EXPECT_FALSE(launch.isEnabled());
    launch.setEnabled(true);
    EXPECT_TRUE(launch.isEnabled());
    EXPECT_EQ(readEntry(path).value(QStringLiteral("Exec")),
              desktopEntryExec(QCoreApplication::applicationFilePath()) + QStringLiteral(" --background"));

    writeRaw(path, "[Desktop Entry]\nType=Application\nExec=vorlie --by-hand\n");
    launch.setEnabled(true);
    EXPECT_EQ(readEntry(path).value(QStringLiteral("Exec")), QStringLiteral("vorlie --by-hand"));
    launch.setEnabled(false);
    EXPECT_FALSE(launch.isEnabled());
    EXPECT_FALSE(QFile::exists(path));
}
