// Launch at login: the XDG autostart entry on disk and the switch's rules.
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

// Counts the calls the switch makes, to prove it makes none when nothing changes.
class CountingLoginItems final : public LoginItemService {
public:
    Status current = Status::notRegistered;
    bool refuse = false;
    int registrations = 0;
    int unregistrations = 0;

    Status status() const override { return current; }
    bool registerItem() override { return call(registrations, Status::enabled); }
    bool unregisterItem() override { return call(unregistrations, Status::notRegistered); }

private:
    bool call(int &count, Status after)
    {
        ++count;
        if (!refuse)
            current = after;
        return !refuse;
    }
};

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

TEST(XdgAutostart, RegistrationWritesARunnableEntryAndUnregistrationRemovesIt)
{
    QTemporaryDir dir;
    XdgAutostart autostart(dir.filePath(QStringLiteral("autostart")), QStringLiteral("/opt/My Apps/vorlie"));
    EXPECT_EQ(autostart.status(), Status::notRegistered);
    ASSERT_TRUE(autostart.registerItem()) << "the autostart directory is created on demand";
    EXPECT_EQ(autostart.status(), Status::enabled);

    EXPECT_EQ(readEntry(autostart.entryPath()),
              (QMap<QString, QString>{{"Type", "Application"}, {"Name", "vorlie"}, {"Exec", "\"/opt/My Apps/vorlie\" --background"},
                                      {"Terminal", "false"}, {"X-GNOME-Autostart-enabled", "true"}, {"X-GNOME-Autostart-Delay", "2"}}));

    ASSERT_TRUE(autostart.unregisterItem());
    EXPECT_EQ(autostart.status(), Status::notRegistered);
    EXPECT_FALSE(QFile::exists(autostart.entryPath()));
    EXPECT_TRUE(autostart.unregisterItem()) << "removing an absent entry is no failure";
}

TEST(XdgAutostart, DefaultsToTheUsersAutostartDirectoryAndThisProgram)
{
    // The test main points XDG_CONFIG_HOME at a private directory.
    XdgAutostart autostart;
    EXPECT_EQ(autostart.entryPath(), qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/autostart/vorlie.desktop"));
    ASSERT_TRUE(autostart.registerItem());
    EXPECT_EQ(readEntry(autostart.entryPath()).value(QStringLiteral("Exec")),
              desktopEntryExec(QCoreApplication::applicationFilePath()) + QStringLiteral(" --background"));
    EXPECT_TRUE(autostart.unregisterItem());
}

TEST(XdgAutostart, EntriesTheSessionWouldSkipCountAsNotRegistered)
{
    QTemporaryDir dir;
    XdgAutostart autostart(dir.path(), QStringLiteral("/usr/bin/vorlie"));
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
    EXPECT_EQ(autostart.status(), Status::enabled);
    EXPECT_EQ(readEntry(autostart.entryPath()).keys(),
              (QStringList{"Exec", "Name", "Terminal", "Type", "X-GNOME-Autostart-Delay", "X-GNOME-Autostart-enabled"}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("vorlie.desktop")})
        << "no temporary file may be left behind";
}

TEST(XdgAutostart, RefusesWhatItCannotWrite)
{
    QTemporaryDir dir;
    // The autostart directory's place is taken by a file.
    writeRaw(dir.filePath(QStringLiteral("autostart")), "not a directory");
    XdgAutostart blocked(dir.filePath(QStringLiteral("autostart")), QStringLiteral("/usr/bin/vorlie"));
    EXPECT_FALSE(blocked.registerItem());
    EXPECT_EQ(blocked.status(), Status::notRegistered);

    for (const QString &program : {QStringLiteral("vorlie"), QStringLiteral("/usr/bin/vor\nlie")}) {
        XdgAutostart autostart(dir.path(), program);
        EXPECT_FALSE(autostart.registerItem()) << program.toStdString();
        EXPECT_FALSE(QFile::exists(autostart.entryPath()));
    }
}

TEST(XdgAutostart, ExecQuotesCharactersTheDesktopEntryFormatReserves)
{
    EXPECT_EQ(desktopEntryExec(QStringLiteral("/usr/bin/vorlie")), QStringLiteral("\"/usr/bin/vorlie\""));
    // Quoting escapes " ` $ \ with a backslash, string escaping doubles each
    // backslash, and % is doubled so it starts no field code.
    EXPECT_EQ(desktopEntryExec(QStringLiteral("/a$b/100%/c\"d`e")), QStringLiteral("\"/a\\\\$b/100%%/c\\\\\"d\\\\`e\""));
    EXPECT_EQ(desktopEntryExec(QStringLiteral("/a\\b")), QStringLiteral("\"/a\\\\\\\\b\""));
}

TEST(LaunchAtLogin, CallsThePlatformOnlyWhenTheStatusDiffersFromTheWish)
{
    struct Case {
        Status status;
        bool wish;
        int registrations;
        int unregistrations;
        bool refuse = false; // a refusal is dropped and the status stays the desktop's
    };
    const Case cases[] = {
        {Status::notRegistered, true, 1, 0},    {Status::notRegistered, false, 0, 0},
        {Status::enabled, true, 0, 0},          {Status::enabled, false, 0, 1},
        {Status::requiresApproval, true, 1, 0}, {Status::requiresApproval, false, 0, 1},
        {Status::notRegistered, true, 1, 0, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.status) << " wish " << c.wish << " refuse " << c.refuse);
        CountingLoginItems items;
        items.current = c.status;
        items.refuse = c.refuse;
        LaunchAtLogin launch(items);
        EXPECT_EQ(launch.isEnabled(), c.status == Status::enabled);
        launch.setEnabled(c.wish);
        EXPECT_EQ(items.registrations, c.registrations);
        EXPECT_EQ(items.unregistrations, c.unregistrations);
        EXPECT_EQ(launch.isEnabled(), c.refuse ? c.status == Status::enabled : c.wish);
    }
}
