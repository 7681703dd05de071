// What `cmake --install` leaves on a desktop, checked with the desktop's own
// validators and by running the installed program.
#include "InstanceTestSupport.h"
#include "XdgAutostart.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <VorlieVersion.h>

using namespace vorlie;
using namespace vorlie::testing;

namespace {

// Debian 12's validator knows version 1.4 of the format; SingleMainWindow is
// a 1.5 key that GNOME reads. Every other complaint fails the check.
QStringList validatorComplaints(const QByteArray &output)
{
    QStringList complaints;
    for (const QByteArray &line : output.split('\n')) {
        if (!line.trimmed().isEmpty() && !line.contains("\"SingleMainWindow\""))
            complaints << QString::fromUtf8(line);
    }
    return complaints;
}

QString entryValue(const QByteArray &entry, QLatin1String key)
{
    const QRegularExpression line(QStringLiteral("^%1=(.*)$").arg(key), QRegularExpression::MultilineOption);
    return line.match(QString::fromUtf8(entry)).captured(1);
}

class InstalledFiles : public LaunchFixture {
protected:
    void SetUp() override
    {
        const Finished install = run(QStringLiteral(CMAKE_COMMAND), {QStringLiteral("--install"), QStringLiteral(BUILD_DIR),
                                                                     QStringLiteral("--prefix"), prefix.path()});
        ASSERT_EQ(install.exitCode, 0) << "installing needs every installed target built: " << install.err.toStdString();
    }

    QString installed(const QString &relative) const { return prefix.filePath(relative); }
    QString desktopEntryComplaints(const QString &path) const
    {
        const Finished validated = run(QStringLiteral("desktop-file-validate"), {path});
        return validatorComplaints(validated.out + validated.err).join(u'\n');
    }

    QTemporaryDir prefix;
};

} // namespace

TEST_F(InstalledFiles, TheProgramRunsFromWhereItIsInstalled)
{
    const Finished version = run(installed(QStringLiteral("bin/vorlie")), {QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
    EXPECT_EQ(version.out, QByteArray("vorlie ") + programVersion + '\n');
}

TEST_F(InstalledFiles, TheDesktopEntryOpensVorliaLinksAndPassesTheValidator)
{
    const QString path = installed(QStringLiteral("share/applications/com.vorlia.app.desktop"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray entry = file.readAll();
    EXPECT_EQ(entryValue(entry, QLatin1String("Exec")), QStringLiteral("vorlie %u"));
    EXPECT_EQ(entryValue(entry, QLatin1String("MimeType")), QStringLiteral("x-scheme-handler/vorlia;"));
    EXPECT_EQ(entryValue(entry, QLatin1String("Icon")), QStringLiteral("com.vorlia.app"));
    EXPECT_EQ(entryValue(entry, QLatin1String("StartupNotify")), QStringLiteral("true"));
    EXPECT_EQ(entryValue(entry, QLatin1String("SingleMainWindow")), QStringLiteral("true"));

    EXPECT_EQ(desktopEntryComplaints(path), QString());
}

TEST_F(InstalledFiles, TheMetainfoPassesAppStreamsValidatorAndNamesThisVersion)
{
    const QString path = installed(QStringLiteral("share/metainfo/com.vorlia.app.metainfo.xml"));
    const Finished validated = run(QStringLiteral("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                                                    QStringLiteral("--pedantic"), path});
    EXPECT_EQ(validated.exitCode, 0) << validated.out.toStdString() << validated.err.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray metainfo = file.readAll();
    EXPECT_TRUE(metainfo.contains(QByteArray("<release version=\"") + programVersion + '"'));
    EXPECT_EQ(metainfo.count("</screenshot>"), metainfo.count("<caption>")) << "every screenshot has a caption";
}

TEST_F(InstalledFiles, IconsComeAsTheDrawingAndAsPicturesOfEachSize)
{
    EXPECT_TRUE(QFile::exists(installed(QStringLiteral("share/icons/hicolor/scalable/apps/com.vorlia.app.svg"))));
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const QImage icon(installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/com.vorlia.app.png").arg(size)));
        ASSERT_FALSE(icon.isNull()) << size;
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << "the corners stay transparent at " << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << "the heart is opaque at " << size;
    }
}

// Its Exec line is checked with the autostart writer itself; here the
// desktop's validator reads the entry made for the installed program.
TEST_F(InstalledFiles, TheLaunchAtLoginEntryForTheInstalledProgramPassesTheValidator)
{
    XdgAutostart autostart(prefix.filePath(QStringLiteral("autostart")), installed(QStringLiteral("bin/vorlie")));
    ASSERT_TRUE(autostart.registerItem());
    EXPECT_EQ(desktopEntryComplaints(autostart.entryPath()), QString());
}
