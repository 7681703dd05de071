#include "TrayItem.h"

#include "tray/TrayHosts.h"
#include "domain/StatusCatalog.h"
#include "i18n/TextLookup.h"
#include "prefs/MenuBarPreferences.h"
#include "session/SessionStore.h"

#include <QCursor>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QScreen>

namespace vorlie {

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

qreal screenScale()
{
    return qGuiApp->devicePixelRatio();
}

} // namespace

TrayItem::TrayItem(SessionStore &store, MenuBarPreferences &preferences, TextLookup &texts, QObject *parent)
    : QObject(parent),
      m_store(store),
      m_preferences(preferences),
      m_showPanel(m_menu.addAction(QString())),
      m_openMain(m_menu.addAction(QString())),
      m_settings(m_menu.addAction(QString())),
      m_quit(m_menu.addAction(QString())),
      m_watcher(new QDBusServiceWatcher(watcherService, QDBusConnection::sessionBus(),
                                        QDBusServiceWatcher::WatchForRegistration, this)),
      m_emoji(MenuBarStatusLabel::emojiFor(store.mainPersonStatus())),
      m_scale(screenScale())
{
    retranslate();
    connect(m_showPanel, &QAction::triggered, this, [this] { emit panelRequested(anchor()); });
    connect(m_openMain, &QAction::triggered, this, &TrayItem::openMainWindowRequested);
    connect(m_settings, &QAction::triggered, this, &TrayItem::settingsRequested);
    connect(m_quit, &QAction::triggered, this, &TrayItem::quitRequested);
    connect(&texts, &TextLookup::languageApplied, this, &TrayItem::retranslate);
    connect(&m_store, &SessionStore::mainPersonStatusChanged, this, &TrayItem::showStatus);
    connect(&m_preferences, &MenuBarPreferences::isIconEnabledChanged, this, [this] {
        if (m_icon)
            m_icon->setVisible(m_preferences.isIconEnabled());
    });

    const auto followScreens = [this] { setScale(screenScale()); };
    connect(qGuiApp, &QGuiApplication::screenAdded, this, followScreens);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, followScreens);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, followScreens);

    if (trayAvailable()) {
        createIcon();
        return;
    }
    // A watcher's host may register after the watcher's name appears.
    connect(m_watcher, &QDBusServiceWatcher::serviceRegistered, this, &TrayItem::trayMayHaveAppeared);
    QDBusConnection::sessionBus().connect(watcherService, QStringLiteral("/StatusNotifierWatcher"), watcherService,
                                          QStringLiteral("StatusNotifierHostRegistered"), this,
                                          SLOT(trayMayHaveAppeared()));
    connect(&m_xembedWatch, &XEmbedTrayWatch::trayAppeared, this, &TrayItem::trayMayHaveAppeared);
}

TrayItem::~TrayItem() = default;

bool TrayItem::trayAvailable()
{
    return trayhosts::statusNotifierHostPresent() || trayhosts::xembedTrayPresent();
}

bool TrayItem::onTray() const
{
    return m_icon && m_preferences.isIconEnabled() && trayAvailable();
}

void TrayItem::setScale(qreal scale)
{
    if (qFuzzyCompare(scale, m_scale))
        return;
    m_scale = scale;
    redraw();
}

void TrayItem::trayMayHaveAppeared()
{
    if (!m_icon && trayAvailable())
        createIcon();
}

void TrayItem::createIcon()
{
    m_xembedWatch.disconnect(this);
    m_watcher->disconnect(this);
    m_icon = std::make_unique<QSystemTrayIcon>(MenuBarStatusLabel(m_emoji).icon(m_scale));
    m_icon->setContextMenu(&m_menu);
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, &TrayItem::activated);
    updateToolTip();
    m_icon->setVisible(m_preferences.isIconEnabled());
}

// A new status text is common (every edit of a custom status); a new emoji
// is not, and only it costs a new picture.
void TrayItem::showStatus()
{
    std::optional<QString> emoji = MenuBarStatusLabel::emojiFor(m_store.mainPersonStatus());
    if (emoji != m_emoji) {
        m_emoji = std::move(emoji);
        redraw();
    }
    updateToolTip();
}

// Drawn only while there is a tray to show it: the emoji's font and the
// heart's outline are a cost before the first window without one.
void TrayItem::redraw()
{
    if (m_icon)
        m_icon->setIcon(MenuBarStatusLabel(m_emoji).icon(m_scale));
}

void TrayItem::updateToolTip()
{
    if (!m_icon)
        return;
    const std::optional<Status> &status = m_store.mainPersonStatus();
    const QString statusText = status && !status->isExpired ? displayText(*status) : qtTrId("home.no_status");
    // The product name on the first line keeps trays from taking a status
    // that looks like markup for rich text: they only look for tags there.
    m_icon->setToolTip(qtTrId("vorlie") + QLatin1Char('\n') + statusText);
}

void TrayItem::retranslate()
{
    m_showPanel->setText(qtTrId("menubar.show_panel"));
    m_openMain->setText(qtTrId("menubar.open_vorlie"));
    //% "Settings…"
    m_settings->setText(qtTrId("menubar.settings"));
    m_quit->setText(qtTrId("menubar.quit"));
    updateToolTip();
}

void TrayItem::activated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger)
        emit panelToggleRequested(anchor());
}

PanelAnchor TrayItem::anchor() const
{
    const QRect geometry = m_icon->geometry();
    return PanelAnchor{geometry.isValid() ? std::optional<QRect>(geometry) : std::nullopt, QCursor::pos()};
}

} // namespace vorlie
