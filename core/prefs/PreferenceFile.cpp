#include "PreferenceFile.h"

#include "PrivateFile.h"

#include <QFile>
#include <QFileInfo>
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

} // namespace

QString PreferenceFile::dataPath(const QString &key) const
{
    if (!isFileNameKey(key))
        return {};
    QString base = m_path;
    if (base.endsWith(QLatin1StringView(".ini")))
        base.chop(4);
    return base + QLatin1StringView(".data/") + key;
}

bool PreferenceFile::isUsable() const
{
    return canHoldPrivateFile(m_path);
}

QVariant PreferenceFile::read(const QString &key) const
{
    const QSettings settings(m_path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return {};
    return settings.value(key);
}

bool PreferenceFile::write(const QString &key, const QVariant *value) const
{
    if (!preparePrivateFile(m_path))
        return false;
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
    QFile file(dataPath(key));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
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
    if (path.isEmpty() || !preparePrivateDirectory(QFileInfo(path).absolutePath()))
        return false;
    // Created 0600 next to its target, so the rename below stays on one file system.
    QTemporaryFile temporary(path + QLatin1StringView(".XXXXXX"));
    if (!temporary.open() || temporary.write(value) != value.size() || !temporary.flush())
        return false;
    temporary.close();
    // POSIX rename replaces the old value in one step; QFile::rename would refuse.
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
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
    if (const QString path = dataPath(key); !path.isEmpty() && QFileInfo::exists(path))
        return QFile::remove(path);
    return write(key, nullptr);
}

} // namespace vorlie
