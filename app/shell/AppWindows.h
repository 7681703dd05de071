#pragma once

#include "AppearancePortal.h"
#include "tray/TrayItem.h"

#include <QObject>
#include <QPointer>
#include <QQuickWindow>
#include <QTimer>
#include <memory>
#include <optional>

namespace vorlie {

class LayerPanel;
class UiRoot;
class ViewEngine;
namespace wayland {
class LayerShell;
}
class VorlieMacApp;

// The program's windows and its tray item: the main window, the tray panel
// and the settings window, made on first use, and what opens them (tray
// clicks, later launches, a tapped notification). Without any tray the main
// window is shown at start, so the program is never invisible. The tray
// item, which asks the desktop for its tray, comes after the first frame.
class AppWindows : public QObject {
    Q_OBJECT

public:
    struct Options {
        // Start to the tray without showing the main window (login autostart).
        bool background = false;
        // VORLIE_BENCH_SHOW=panel|main: opens that window at start, prints
        // "first frame" on standard output once it is drawn and closes it
        // once the start-up work began; the start-up benchmarks measure the
        // program this way.
        QString benchmarkShows = qEnvironmentVariable("VORLIE_BENCH_SHOW");
    };

    // The view of the window these options open at start, if any: worth
    // compiling ahead.
    static std::optional<QUrl> viewShownAtStart(const Options &options);

    AppWindows(VorlieMacApp &app, const Options &options, std::unique_ptr<ViewEngine> views, QObject *parent = nullptr);
    ~AppWindows() override;

    UiRoot &ui() { return *m_ui; }
    QQuickWindow *mainWindow() const { return m_mainWindow; }
    QQuickWindow *panelWindow() const { return m_panelWindow; }

public slots:
    // Shows and raises the main window, with the launch's activation token.
    void showMainWindow(const QString &activationToken = {});
    void showHome();
    void showStatusPicker();
    void showSettings();
    void togglePanel(const vorlie::PanelAnchor &anchor);
    void showPanel(const vorlie::PanelAnchor &anchor);

signals:
    // Once, when what the person sees at start is drawn: the first frame of
    // the window opened at start, or at once when none is. Work that waits
    // on the desktop (the keychain, the network manager) starts here.
    void startupShown();

private slots:
    // With nothing on a tray, a closed window would leave a program no one
    // can reach: closing it ends the program, and the next launch shows the
    // window again. On a tray the closed window is let go.
    void mainWindowClosing();

private:
    // Options::benchmarkShows.
    void showForBenchmark(const QString &which);
    QQuickWindow *ensureMainWindow();
    QQuickWindow *ensurePanel();
    // Made ahead of the first click where showing a window costs more than
    // a click should wait (Wayland): on the desktop's top layer when it has
    // one, else as a window.
    void preparePanel();
    // Emits startupShown after the window's first frame; without a window,
    // in the next event-loop turn.
    void announceStartupShown(QQuickWindow *window);
    void createTray();

    VorlieMacApp &m_app;
    // Until the panel takes it over.
    std::unique_ptr<wayland::LayerShell> m_layerShell;
    AppearancePortal m_appearancePortal;
    std::unique_ptr<UiRoot> m_ui;
    std::unique_ptr<TrayItem> m_tray;
    QPointer<QQuickWindow> m_mainWindow;
    QPointer<QQuickWindow> m_panelWindow;
    std::unique_ptr<LayerPanel> m_layerPanel;
    QPointer<QQuickWindow> m_settingsWindow;
    bool m_startupShown = false;
    // Until the first frame of the window shown at start.
    QTimer m_firstFrameWait;
};

} // namespace vorlie
