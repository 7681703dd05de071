#pragma once

#include "MenuBarStatusLabel.h"
#include "PanelPlacement.h"
#include "tray/XEmbedTrayWatch.h"

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <memory>

class QAction;
class QDBusServiceWatcher;

namespace vorlie {

class MenuBarPreferences;
class SessionStore;
class TextLookup;

// The menu-bar item on a Linux desktop: a tray icon showing the main
// person's emoji, its tooltip and context menu. What a click opens is
// decided by whoever listens to its requests.
//
// Qt settles on StatusNotifierItem or XEmbed the first time a tray icon is
// made, for the life of the process. So while no tray is there the item
// only waits, for a StatusNotifierWatcher to appear or an XEmbed tray to
// take its selection, and makes the icon then; afterwards Qt follows
// restarts of the tray by itself.
class TrayItem : public QObject {
    Q_OBJECT

public:
    TrayItem(SessionStore &store, MenuBarPreferences &preferences, TextLookup &texts, QObject *parent = nullptr);
    ~TrayItem() override;

    // Whether a tray is there to show the item, asked without fixing Qt's
    // choice of protocol.
    static bool trayAvailable();
    // Whether the item is on a tray right now, as a way back to the program.
    bool onTray() const;

    // The device pixel ratio the pictures are drawn for; it follows the
    // screens on its own.
    qreal scale() const { return m_scale; }
    void setScale(qreal scale);

signals:
    // A click on the icon: open the panel, or close it when it is open.
    void panelToggleRequested(const vorlie::PanelAnchor &anchor);
    // The context menu's first entry, for trays that never report a click.
    void panelRequested(const vorlie::PanelAnchor &anchor);
    void openMainWindowRequested();
    void settingsRequested();
    void quitRequested();

private slots:
    void trayMayHaveAppeared();

private:
    void createIcon();
    void showStatus();
    void redraw();
    void updateToolTip();
    void retranslate();
    void activated(QSystemTrayIcon::ActivationReason reason);
    PanelAnchor anchor() const;

    SessionStore &m_store;
    MenuBarPreferences &m_preferences;
    QMenu m_menu;
    QAction *m_showPanel;
    QAction *m_openMain;
    QAction *m_settings;
    QAction *m_quit;
    QDBusServiceWatcher *m_watcher;
    XEmbedTrayWatch m_xembedWatch;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::optional<QString> m_emoji;
    qreal m_scale;
};

} // namespace vorlie

Q_DECLARE_METATYPE(vorlie::PanelAnchor)
