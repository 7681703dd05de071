#include "PreferenceFile.h"

#include "PrivateFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>

namespace vorlie {
namespace {

// Keys of this system are dotted names; nothing else may become a path.
bool isFileNameKey(const QString &key)
{
    if (key.isEmpty() || key.size() > 128 || key.startsWith(u'.'))
        return false;
    return std::all_of(key.begin(), key.end(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'.' || c == u'_'
            || c == u'-';
    });
}

// A writer killed while it took QSettings' lock leaves a lock file without
// its owner's details, which Qt then waits out for 30 s, blocking every later
// write. No writer holds the lock for more than moments, so one older than
// this has been abandoned: take it over (it is released at once).
constexpr int abandonedLockMs = 2000;

void clearAbandonedLock(const QString &settingsPath)
{
    QLockFile lock(settingsPath + QStringLiteral(".lock"));
    lock.setStaleLockTime(abandonedLockMs);
    if (lock.tryLock(abandonedLockMs + 500))
        lock.unlock();
}

} // namespace

QString PreferenceFile::dataPath(const QString &key) const
{
    if (!isFileNameKey(key))
        return {};
    return dataDirectory() + u'/' + key;
}

QString PreferenceFile::dataDirectory() const
{
    QString base = m_path;
    if (base.endsWith(QLatin1StringView(".ini")))
        base.chop(4);
    return base + QLatin1StringView(".data");
}

bool PreferenceFile::isUsable() const
{
    return canHoldPrivateFile(m_path);
}

QVariant PreferenceFile::read(const QString &key) const
{
    // Never parse what cannot be ours: a FIFO would block, a huge file freeze us.
    if (!isSmallRegularFile(m_path, maxSettingsBytes))
        return {};
    const QSettings settings(m_path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return {};
    return settings.value(key);
}

bool PreferenceFile::write(const QString &key, const QVariant *value) const
{
    if (!preparePrivateFile(m_path, maxSettingsBytes))
        return false;
    clearAbandonedLock(m_path);
    QSettings settings(m_path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError || !settings.isWritable())
        return false;
    if (value)
        settings.setValue(key, *value);
    else
        settings.remove(key);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

std::optional<QByteArray> PreferenceFile::data(const QString &key) const
{
    if (!isFileNameKey(key))
        return std::nullopt;
    return readRegularFile(dataDirectory(), key, maxDataBytes);
}

std::optional<QString> PreferenceFile::text(const QString &key) const
{
    const QVariant value = read(key);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

std::optional<bool> PreferenceFile::truth(const QString &key) const
{
    const QVariant value = read(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    // What INI gives back for a bool written by any process; "1", "yes" and
    // the like were never written by us and are not taken as truth values.
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        if (text == QLatin1String("true"))
            return true;
        if (text == QLatin1String("false"))
            return false;
    }
    return std::nullopt;
}

std::optional<QStringList> PreferenceFile::textList(const QString &key) const
{
    const QVariant value = read(key);
    switch (value.typeId()) {
    case QMetaType::QStringList:
        return value.toStringList();
    case QMetaType::QString:
        return QStringList{value.toString()};
    case QMetaType::QVariantList: {
        QStringList out;
        for (const QVariant &element : value.toList()) {
            if (element.typeId() != QMetaType::QString)
                return std::nullopt;
            out.append(element.toString());
        }
        return out;
    }
    default:
        return std::nullopt;
    }
}

bool PreferenceFile::setData(const QString &key, const QByteArray &value) const
{
    const QString path = dataPath(key);
    if (path.isEmpty() || !preparePrivateDirectory(dataDirectory()))
        return false;
    // Created 0600 next to its target, so the rename below stays on one file system.
    QTemporaryFile temporary(path + QLatin1StringView(".XXXXXX"));
    if (!temporary.open() || temporary.write(value) != value.size() || !temporary.flush())
        return false;
    temporary.close();
    // POSIX rename replaces the old value in one step, a link or FIFO there
    // included, without touching what a link points to; QFile::rename would
    // refuse. Only a directory in the way has to be moved aside first.
    const QByteArray from = QFile::encodeName(temporary.fileName());
    const QByteArray to = QFile::encodeName(path);
    if (std::rename(from.constData(), to.constData()) != 0
        && (!moveAside(path) || std::rename(from.constData(), to.constData()) != 0))
        return false;
    temporary.setAutoRemove(false);
    return true;
}

bool PreferenceFile::setText(const QString &key, const QString &value) const
{
    const QVariant v(value);
    return write(key, &v);
}

bool PreferenceFile::setTruth(const QString &key, bool value) const
{
    const QVariant v(value);
    return write(key, &v);
}

bool PreferenceFile::setTextList(const QString &key, const QStringList &value) const
{
    const QVariant v(value);
    return write(key, &v);
}

bool PreferenceFile::remove(const QString &key) const
{
    if (const QString path = dataPath(key); !path.isEmpty()) {
        // Nothing of ours lives behind a linked directory, and nothing there may be deleted.
        if (QFileInfo(dataDirectory()).isSymLink())
            return true;
        if (const QFileInfo value(path); value.exists() || value.isSymLink())
            return QFile::remove(path);
    }
    return write(key, nullptr);
}

} // namespace vorlie
