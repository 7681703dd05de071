#include "XdgAutostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

namespace vorlie {

namespace {

QString entryValue(const QSettings &entry, const char *key)
{
    return entry.value(QStringLiteral("Desktop Entry/") + QLatin1String(key)).toString().trimmed();
}

bool fitsOnExecLine(const QString &program)
{
    return QDir::isAbsolutePath(program)
        && std::none_of(program.begin(), program.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

} // namespace

QString desktopEntryExec(const QString &program)
{
    // Inside double quotes, `"`, `` ` ``, `$` and `\` are escaped with a backslash;
    // the string-value escaping then doubles every backslash once more.
    QString quoted;
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    quoted.replace(u'%', QStringLiteral("%%")); // a lone % would start a field code
    return u'"' + quoted + u'"';
}

XdgAutostart::XdgAutostart(QString autostartDirectory, QString program)
    : m_directory(autostartDirectory.isEmpty()
                      ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart")
                      : std::move(autostartDirectory))
    , m_program(program.isEmpty() ? QCoreApplication::applicationFilePath() : std::move(program))
{
}

QString XdgAutostart::entryPath() const
{
    return m_directory + QStringLiteral("/vorlie.desktop");
}

LoginItemService::Status XdgAutostart::status() const
{
    if (!QFileInfo(entryPath()).isFile())
        return Status::notRegistered;
    const QSettings entry(entryPath(), QSettings::IniFormat);
    // The session skips an entry it cannot run, or one the user switched off.
    // Booleans are spelled "true"/"false"; anything else is neither.
    const bool runnable = entry.status() == QSettings::NoError && entryValue(entry, "Type") == u"Application"
        && !entryValue(entry, "Exec").isEmpty();
    if (!runnable || entryValue(entry, "Hidden") == u"true" || entryValue(entry, "X-GNOME-Autostart-enabled") == u"false")
        return Status::notRegistered;
    return Status::enabled;
}

bool XdgAutostart::registerItem()
{
    if (!fitsOnExecLine(m_program) || !QDir().mkpath(m_directory))
        return false;
    // Written whole or not at all: the session never sees half an entry.
    QSaveFile file(entryPath());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The delay lets the panel come up before the status item asks for a place in it;
    // --background keeps the window closed until the user asks for it.
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=vorlie\n"
                                         "Exec=%1 --background\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n"
                                         "X-GNOME-Autostart-Delay=2\n")
                              .arg(desktopEntryExec(m_program));
    file.write(entry.toUtf8());
    return file.commit();
}

bool XdgAutostart::unregisterItem()
{
    return !QFileInfo::exists(entryPath()) || QFile::remove(entryPath());
}

} // namespace vorlie
