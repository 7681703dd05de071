#include "HostPreferences.h"

#include <QSettings>
#include <QStandardPaths>

namespace vorlie {
namespace {

const QString initialisedKey = QStringLiteral("initialised");
const QString widgetsGroup = QStringLiteral("widgets");

std::optional<widgetkit::WidgetFamily> familyFromName(const QString &name)
{
    for (const auto family : {widgetkit::WidgetFamily::small, widgetkit::WidgetFamily::medium}) {
        if (widgetkit::familyName(family) == name)
            return family;
    }
    return std::nullopt;
}

std::optional<QPoint> positionFrom(const QVariant &x, const QVariant &y)
{
    bool xOk = false;
    bool yOk = false;
    const int px = x.toInt(&xOk);
    const int py = y.toInt(&yOk);
    if (!xOk || !yOk)
        return std::nullopt;
    return QPoint(px, py);
}

} // namespace

HostPreferences::HostPreferences(QString path)
    : m_path(std::move(path))
{
}

QString HostPreferences::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/vorlie/widget-host.ini");
}

bool HostPreferences::isInitialised() const
{
    return QSettings(m_path, QSettings::IniFormat).value(initialisedKey).toBool();
}

QList<HostedWidgetSettings> HostPreferences::load() const
{
    QSettings settings(m_path, QSettings::IniFormat);
    settings.beginGroup(widgetsGroup);
    QList<HostedWidgetSettings> widgets;
    const QStringList ids = settings.childGroups();
    for (const QString &id : ids) {
        settings.beginGroup(id);
        const auto family = familyFromName(settings.value(QStringLiteral("family")).toString());
        const QString kind = settings.value(QStringLiteral("kind")).toString();
        if (family && !kind.isEmpty()) {
            HostedWidgetSettings widget{id, kind, *family, positionFrom(settings.value(QStringLiteral("x")), settings.value(QStringLiteral("y"))), {}};
            settings.beginGroup(QStringLiteral("configuration"));
            for (const QString &key : settings.childKeys()) {
                // INI keeps no types: the options are switches.
                const QString value = settings.value(key).toString();
                if (value == QLatin1String("true") || value == QLatin1String("false"))
                    widget.configuration.insert(key, value == QLatin1String("true"));
            }
            settings.endGroup();
            widgets.append(widget);
        }
        settings.endGroup();
    }
    return widgets;
}

void HostPreferences::save(const HostedWidgetSettings &widget) const
{
    QSettings settings(m_path, QSettings::IniFormat);
    settings.setValue(initialisedKey, true);
    settings.beginGroup(widgetsGroup);
    settings.remove(widget.id);
    settings.beginGroup(widget.id);
    settings.setValue(QStringLiteral("kind"), widget.kind);
    settings.setValue(QStringLiteral("family"), widgetkit::familyName(widget.family));
    if (widget.position) {
        settings.setValue(QStringLiteral("x"), widget.position->x());
        settings.setValue(QStringLiteral("y"), widget.position->y());
    }
    settings.beginGroup(QStringLiteral("configuration"));
    for (auto it = widget.configuration.cbegin(); it != widget.configuration.cend(); ++it)
        settings.setValue(it.key(), it.value().toBool() ? QStringLiteral("true") : QStringLiteral("false"));
}

void HostPreferences::remove(const QString &id) const
{
    QSettings settings(m_path, QSettings::IniFormat);
    settings.beginGroup(widgetsGroup);
    settings.remove(id);
}

} // namespace vorlie
