#pragma once

#include "HostPreferences.h"
#include "HostedWidget.h"
#include "interface/WidgetExtension.h"

#include <QObject>
#include <QQmlEngine>
#include <QSet>
#include <QTimer>

#include <memory>
#include <vector>

namespace vorlie {

// Our stand-in for the desktop's widget host: shows every widget instance
// the user placed, keeps them in its preference file, and starts the
// extension's bundle anew whenever the application asks for a reload.
class WidgetHost : public QObject {
    Q_OBJECT

public:
    // With a layer shell the widgets go on the desktop's bottom layer.
    WidgetHost(widgetkit::WidgetExtension &extension, HostPreferences preferences,
               wayland::LayerShell *layerShell = nullptr, QObject *parent = nullptr);

    // Creates the bundle and shows the stored widgets; a first start shows
    // one medium main-person widget.
    void start();
    // Listens for the application's reload requests on the session bus.
    bool listenForReloads();
    void addWidget(const QString &kind, widgetkit::WidgetFamily family);

public slots:
    void reloadAllTimelines();
    void reloadTimelines(const QString &kind);

private:
    void reload();
    void startBundle();
    const widgetkit::WidgetDeclaration *declaration(const QString &kind) const;
    void show(const HostedWidgetSettings &settings);
    void remove(HostedWidget *widget);
    QPoint freePlace(widgetkit::WidgetFamily family) const;

    widgetkit::WidgetExtension &m_extension;
    HostPreferences m_preferences;
    wayland::LayerShell *m_layerShell;
    QQmlEngine m_engine;
    // Declared in this order so the windows go first, then the bundle whose
    // entries they show, then the engine.
    std::unique_ptr<widgetkit::WidgetBundle> m_bundle;
    QList<widgetkit::WidgetDeclaration> m_declarations;
    std::vector<std::unique_ptr<HostedWidget>> m_widgets;
    // Bursts of reload requests are answered once.
    QTimer m_reloadSoon;
    bool m_reloadEverything = false;
    QSet<QString> m_kindsToReload;
};

} // namespace vorlie
