#pragma once

#include "HostPreferences.h"
#include "interface/WidgetExtension.h"

#include <QObject>
#include <QPointF>
#include <QTimer>

#include <memory>

class QQmlEngine;
class QQuickItem;
class QQuickWindow;

namespace vorlie {

namespace wayland {
class LayerShell;
class LayerSurface;
} // namespace wayland

// One widget on the desktop: a frameless window below the normal ones, out
// of the task bar, drawing the current timeline entry with the extension's
// view. Left click opens the view's address, dragging moves it, right click
// offers the menu. Given a layer shell (Wayland, where a window can neither
// place itself nor stay below the others), the view is drawn into a picture
// shown on the desktop's bottom layer instead, and the window is never shown.
class HostedWidget : public QObject {
    Q_OBJECT

public:
    static QSize sizeOf(widgetkit::WidgetFamily family);

    HostedWidget(HostedWidgetSettings settings, QQmlEngine &engine, wayland::LayerShell *layerShell = nullptr,
                 QObject *parent = nullptr);
    ~HostedWidget() override;

    const HostedWidgetSettings &settings() const { return m_settings; }
    QQuickWindow *window() const { return m_window.get(); }
    // Where the widget is on the desktop.
    QRect frame() const;

    // A new widget, or a new start of the extension: a new view shows the
    // placeholder first, then every view shows the timeline's current entry.
    void present(const widgetkit::WidgetDeclaration &declaration);
    // The same declaration asks again, e.g. after the user changed an option.
    void reloadTimeline();

signals:
    void addRequested(widgetkit::WidgetFamily family);
    void removeRequested();
    void settingsChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createView(const QUrl &url);
    void showEntry(const widgetkit::TimelineEntry &entry);
    widgetkit::TimelineContext context() const;
    void openMenu(const QPoint &globalPosition);
    void tap();
    void positionChanged();
    void press(Qt::MouseButton button, QPointF global);
    void drag(QPointF global);
    void release(Qt::MouseButton button, QPointF global);
    void moveTo(QPoint topLeft);
    void redraw();

    HostedWidgetSettings m_settings;
    QQmlEngine &m_engine;
    std::unique_ptr<QQuickWindow> m_window;
    QQuickItem *m_view = nullptr; // owned by the window's content item
    QUrl m_viewUrl;
    widgetkit::WidgetDeclaration m_declaration;
    std::shared_ptr<QObject> m_entry;
    QTimer m_reloadTimer;
    QTimer m_savePosition;
    std::unique_ptr<wayland::LayerSurface> m_layer;
    // On a layer the picture is drawn anew when the entry changes, and each
    // minute for the times it shows.
    QTimer m_redrawSoon;
    QTimer m_redrawEveryMinute;

    // A press becomes a drag once the pointer moves far enough.
    bool m_pressed = false;
    bool m_dragging = false;
    bool m_systemMove = false;
    QPointF m_pressGlobal;
    QPoint m_pressWindowPosition;
};

} // namespace vorlie
