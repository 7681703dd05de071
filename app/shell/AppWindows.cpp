#include "AppWindows.h"

#include "LayerPanel.h"
#include "LayerShell.h"
#include "tray/TrayItem.h"
#include "UiRoot.h"
#include "VorlieMacApp.h"
#include "single_instance/WindowActivation.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <QQuickWindow>
#include <QTimer>

namespace vorlie {
namespace {

const QUrl mainWindowView(QStringLiteral("qrc:/Vorlie/Main/MainWindow.qml"));
const QUrl panelView(QStringLiteral("qrc:/Vorlie/Panel/PanelWindow.qml"));
const QUrl settingsView(QStringLiteral("qrc:/Vorlie/Settings/SettingsWindow.qml"));

// A tray that answers late (a panel still starting) gets this long before
// the program shows its main window instead.
constexpr int trayGraceMs = 1500;
// A window the desktop does not let draw (minimised at start, on another
// workspace) holds the start-up work back no longer than this.
constexpr int firstFrameWaitMs = 1000;

bool windowsPlaceThemselves()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

std::optional<QUrl> AppWindows::viewShownAtStart(const Options &options)
{
    if (options.benchmarkShows == QLatin1String("panel"))
        return panelView;
    if (!options.benchmarkShows.isEmpty() || !options.background)
        return mainWindowView;
    return std::nullopt;
}

AppWindows::AppWindows(VorlieMacApp &app, const Options &options, std::unique_ptr<ViewEngine> views, QObject *parent)
    : QObject(parent)
    , m_app(app)
    , m_layerShell(LayerPanel::connectToLayers())
    , m_ui(std::make_unique<UiRoot>(app.screenServices(), std::move(views)))
{
    m_ui->appearance().follow(m_appearancePortal);
    m_appearancePortal.start();
    connect(&app, &VorlieMacApp::personRequested, this, [this] { showMainWindow(); });
    // Every window's Quit (Ctrl+Q, the quit buttons) calls Qt.quit().
    connect(&m_ui->engine(), &QQmlEngine::quit, qApp, &QCoreApplication::quit, Qt::QueuedConnection);

    if (!options.benchmarkShows.isEmpty()) {
        showForBenchmark(options.benchmarkShows);
        return;
    }
    if (!options.background)
        showMainWindow();
    announceStartupShown(m_mainWindow);
    // Never an invisible program: without a tray the window is the way in.
    QTimer::singleShot(trayGraceMs, this, [this] {
        if (!TrayItem::trayAvailable())
            showMainWindow();
    });
}

AppWindows::~AppWindows()
{
    delete m_settingsWindow;
    delete m_panelWindow;
    delete m_mainWindow;
}

void AppWindows::announceStartupShown(QQuickWindow *window)
{
    const auto announce = [this] {
        if (m_startupShown)
            return;
        m_startupShown = true;
        m_firstFrameWait.stop();
        createTray();
        if (!windowsPlaceThemselves())
            preparePanel();
        emit startupShown();
    };
    if (window) {
        // Queued: the frame is swapped on the render thread.
        connect(window, &QQuickWindow::frameSwapped, this, announce,
                static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
    }
    m_firstFrameWait.setSingleShot(true);
    connect(&m_firstFrameWait, &QTimer::timeout, this, announce);
    m_firstFrameWait.start(window ? firstFrameWaitMs : 0);
}

void AppWindows::createTray()
{
    m_tray = std::make_unique<TrayItem>(m_app.sessionStore(), m_app.menuBarPreferences(), m_app.textLookup());
    connect(m_tray.get(), &TrayItem::panelToggleRequested, this, &AppWindows::togglePanel);
    connect(m_tray.get(), &TrayItem::panelRequested, this, &AppWindows::showPanel);
    connect(m_tray.get(), &TrayItem::openMainWindowRequested, this, [this] { showMainWindow(); });
    connect(m_tray.get(), &TrayItem::settingsRequested, this, &AppWindows::showSettings);
    connect(m_tray.get(), &TrayItem::quitRequested, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void AppWindows::showForBenchmark(const QString &which)
{
    QQuickWindow *window = which == QLatin1String("panel") ? ensurePanel() : ensureMainWindow();
    announceStartupShown(window);
    if (!window)
        return;
    connect(window, &QQuickWindow::frameSwapped, this, [] {
        std::printf("first frame\n");
        std::fflush(stdout);
    }, Qt::SingleShotConnection);
    // As a person leaves it: not before the tray item is there to keep the
    // program.
    connect(this, &AppWindows::startupShown, window, &QWindow::close);
    window->show();
}

QQuickWindow *AppWindows::ensureMainWindow()
{
    if (!m_mainWindow) {
        m_mainWindow = m_ui->createWindow(mainWindowView);
        if (m_mainWindow)
            connect(m_mainWindow, SIGNAL(closing(QQuickCloseEvent*)), this, SLOT(mainWindowClosing()));
    }
    return m_mainWindow;
}

void AppWindows::mainWindowClosing()
{
    // Before the tray item exists, no tray is known to hold the program.
    if (!m_tray || !m_tray->onTray()) {
        QCoreApplication::quit();
        return;
    }
    // A main window closed to the tray may stay closed all day: its pictures,
    // items and drawing surface go with it (a third of the program's memory),
    // and the next open makes it anew. Forgotten at once, so an open that
    // comes before the deletion makes a new one instead of showing this one.
    QQuickWindow *closed = m_mainWindow;
    m_mainWindow = nullptr;
    closed->deleteLater();
}

QQuickWindow *AppWindows::ensurePanel()
{
    if (!m_panelWindow) {
        m_panelWindow = m_ui->createWindow(panelView, {{QStringLiteral("framed"), !windowsPlaceThemselves()}});
        if (m_panelWindow) {
            connect(m_panelWindow, SIGNAL(openMainWindowRequested()), this, SLOT(showMainWindow()));
            connect(m_panelWindow, SIGNAL(settingsRequested()), this, SLOT(showSettings()));
            connect(m_panelWindow, SIGNAL(quitRequested()), qApp, SLOT(quit()), Qt::QueuedConnection);
        }
    }
    return m_panelWindow;
}

void AppWindows::preparePanel()
{
    m_layerPanel = LayerPanel::create(*m_ui, std::move(m_layerShell));
    if (!m_layerPanel) {
        ensurePanel();
        return;
    }
    connect(m_layerPanel.get(), &LayerPanel::openMainWindowRequested, this, [this] { showMainWindow(); });
    connect(m_layerPanel.get(), &LayerPanel::settingsRequested, this, &AppWindows::showSettings);
    connect(m_layerPanel.get(), &LayerPanel::quitRequested, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void AppWindows::showMainWindow(const QString &activationToken)
{
    if (QQuickWindow *window = ensureMainWindow())
        activateWindow(window, activationToken);
}

void AppWindows::showHome()
{
    m_app.router().open(app_route::Home{});
    showMainWindow();
}

void AppWindows::showStatusPicker()
{
    showMainWindow();
    m_app.router().open(app_route::StatusPicker{});
}

void AppWindows::showSettings()
{
    if (!m_settingsWindow)
        m_settingsWindow = m_ui->createWindow(settingsView);
    if (m_settingsWindow)
        activateWindow(m_settingsWindow, {});
}

void AppWindows::togglePanel(const PanelAnchor &anchor)
{
    if (m_layerPanel && m_layerPanel->isShown()) {
        m_layerPanel->hide();
        return;
    }
    if (m_panelWindow && m_panelWindow->isVisible()) {
        m_panelWindow->close();
        return;
    }
    showPanel(anchor);
}

void AppWindows::showPanel(const PanelAnchor &anchor)
{
    if (m_layerPanel) {
        m_layerPanel->show(anchor);
        return;
    }
    QQuickWindow *panel = ensurePanel();
    if (!panel)
        return;
    if (windowsPlaceThemselves()) {
        // Sized before it is shown, so it opens where it belongs.
        panel->setPosition(panelPosition(panel->size(), anchor, availableGeometryAt(anchor)));
    }
    panel->show();
    panel->raise();
    panel->requestActivate();
}

} // namespace vorlie
