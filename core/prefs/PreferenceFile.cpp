#include "PreferenceFile.h"

#include "PrivateFile.h"

#include <QSettings>

namespace vorlie {

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
    const QVariant value = read(key);
    if (value.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return value.toByteArray();
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
    const QVariant v(value);
    return write(key, &v);
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
    return write(key, nullptr);
}

} // namespace vorlie
