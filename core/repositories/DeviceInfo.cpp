#include "DeviceInfo.h"

#include <QCoreApplication>
#include <QLocale>
#include <QSysInfo>
#include <QTimeZone>

namespace vorlie {

namespace {
std::optional<QString> nonEmpty(QString text)
{
    if (text.isEmpty())
        return std::nullopt;
    return text;
}
} // namespace

DeviceInfo DeviceInfo::current()
{
    return DeviceInfo{
        .appVersion = nonEmpty(QCoreApplication::applicationVersion()),
        .osVersion = nonEmpty(QSysInfo::prettyProductName()),
        .locale = nonEmpty(QLocale::system().name()),
        .timezone = nonEmpty(QString::fromUtf8(QTimeZone::systemTimeZoneId())),
    };
}

} // namespace vorlie
