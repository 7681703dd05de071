// What `cmake --install` leaves on a desktop, checked with the desktop's own
// validators and by running the installed program.
#include "InstanceTestSupport.h"
#include "XdgAutostart.h"

#include <QFile>
#include <QImage>
#include <VorlieVersion.h>

using namespace vorlie;
using namespace vorlie::testing;

namespace {

class InstalledFiles : public LaunchFixture {
protected:
    QString installed(const QString &relative) const { return prefix.filePath(relative); }
    // Debian 12's validator knows version 1.4 of the format; SingleMainWindow is
    // a 1.5 key that GNOME reads. Every other complaint fails the check.
    QString desktopEntryComplaints(const QString &path) const
    {
        const Finished validated = run(QStringLiteral("desktop-file-validate"), {path});
        QStringList complaints;
        for (const QByteArray &line : (validated.out + validated.err).split('\n')) {
            if (!line.trimmed().isEmpty() && !line.contains("\"SingleMainWindow\""))
                complaints << QString::fromUtf8(line);
        }
        return complaints.join(u'\n');
    }

    QTemporaryDir prefix;
};

} // namespace

TEST_F(InstalledFiles, TheProgramRunsAndItsEntriesMetainfoAndIconsPassTheDesktopsChecks)
{
    const Finished install = run(QStringLiteral(CMAKE_COMMAND), {QStringLiteral("--install"), QStringLiteral(BUILD_DIR),
                                                                 QStringLiteral("--prefix"), prefix.path()});
    ASSERT_EQ(install.exitCode, 0) << "installing needs every installed target built: " << install.err.toStdString();
    const Finished version = run(installed(QStringLiteral("bin/vorlie")), {QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0) << "the installed program finds its libraries: " << version.err.toStdString();

    const QString entryPath = installed(QStringLiteral("share/applications/com.vorlia.app.desktop"));
    QFile entryFile(entryPath);
    ASSERT_TRUE(entryFile.open(QIODevice::ReadOnly)) << entryPath.toStdString();
    const QStringList entry = QString::fromUtf8(entryFile.readAll()).split(u'\n');
    for (const char *line : {"Exec=vorlie %u", "MimeType=x-scheme-handler/vorlia;", "StartupNotify=true", "SingleMainWindow=true",
                             "Icon=com.vorlia.app"})
        EXPECT_TRUE(entry.contains(QLatin1String(line))) << line;
    EXPECT_EQ(desktopEntryComplaints(entryPath), QString());

    // Its Exec line is checked with the autostart writer itself; here the
    // desktop's validator reads the entry made for the installed program.
    XdgAutostart autostart(prefix.filePath(QStringLiteral("autostart")), installed(QStringLiteral("bin/vorlie")));
    ASSERT_TRUE(autostart.registerItem());
    EXPECT_EQ(desktopEntryComplaints(autostart.entryPath()), QString());

    const QString metainfoPath = installed(QStringLiteral("share/metainfo/com.vorlia.app.metainfo.xml"));
    const Finished validated = run(QStringLiteral("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                                                    QStringLiteral("--pedantic"), metainfoPath});
    EXPECT_EQ(validated.exitCode, 0) << validated.out.toStdString() << validated.err.toStdString();
    QFile metainfoFile(metainfoPath);
    ASSERT_TRUE(metainfoFile.open(QIODevice::ReadOnly));
    const QByteArray metainfo = metainfoFile.readAll();
    EXPECT_TRUE(metainfo.contains(QByteArray("<release version=\"") + programVersion + '"'));
    EXPECT_EQ(metainfo.count("</screenshot>"), metainfo.count("<caption>")) << "every screenshot has a caption";

    // The icon the entry names, as the drawing and as pictures of each size.
    EXPECT_TRUE(QFile::exists(installed(QStringLiteral("share/icons/hicolor/scalable/apps/com.vorlia.app.svg"))));
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const QImage icon(installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/com.vorlia.app.png").arg(size)));
        ASSERT_FALSE(icon.isNull()) << size;
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << "the corners stay transparent at " << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << "the heart is opaque at " << size;
    }
}
