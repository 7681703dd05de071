#pragma once

#include "interface/WidgetExtension.h"

#include <QList>
#include <QPoint>
#include <QString>

#include <optional>

namespace vorlie {

// One widget the user placed on the desktop.
struct HostedWidgetSettings {
    QString id;
    QString kind;
    widgetkit::WidgetFamily family = widgetkit::WidgetFamily::small;
    std::optional<QPoint> position; // none: the host picks a free place
    widgetkit::WidgetConfiguration configuration;
};

// The host's own preference file: which widgets are shown, where, and with
// which options. Values edited by hand into nonsense skip that widget or
// fall back to defaults; they never stop the host.
class HostPreferences {
public:
    explicit HostPreferences(QString path);
    // "<config>/vorlie/widget-host.ini".
    static QString defaultPath();

    // False until the first widget was ever stored, so a fresh start can
    // offer one while a user who removed every widget keeps an empty desktop.
    bool isInitialised() const;
    QList<HostedWidgetSettings> load() const;
    void save(const HostedWidgetSettings &widget) const;
    void remove(const QString &id) const;

private:
    QString m_path;
};

} // namespace vorlie
