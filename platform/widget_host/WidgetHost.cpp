#include "WidgetHost.h"

#include "WidgetCenter.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QScreen>
#include <QUuid>

#include <algorithm>

namespace vorlie {
namespace {
constexpr int gap = 16;
} // namespace

WidgetHost::WidgetHost(widgetkit::WidgetExtension &extension, HostPreferences preferences,
                       wayland::LayerShell *layerShell, QObject *parent)
    : QObject(parent)
    , m_extension(extension)
    , m_preferences(std::move(preferences))
    , m_layerShell(layerShell)
{
    m_extension.prepareEngine(m_engine);
    m_reloadSoon.setSingleShot(true);
    m_reloadSoon.setInterval(50);
    connect(&m_reloadSoon, &QTimer::timeout, this, &WidgetHost::reload);
}

void WidgetHost::start()
{
    startBundle();
    if (!m_preferences.isInitialised()) {
        if (!m_declarations.isEmpty())
            addWidget(m_declarations.first().kind, widgetkit::WidgetFamily::medium);
        return;
    }
    const QList<HostedWidgetSettings> stored = m_preferences.load();
    for (const HostedWidgetSettings &settings : stored)
        show(settings);
}

bool WidgetHost::listenForReloads()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString path = QString::fromLatin1(WidgetCenter::objectPath);
    const QString interface = QString::fromLatin1(WidgetCenter::interfaceName);
    // From any sender: the application may restart under a new bus name.
    return bus.isConnected()
        && bus.connect(QString(), path, interface, QString::fromLatin1(WidgetCenter::reloadAllSignal), this,
                       SLOT(reloadAllTimelines()))
        && bus.connect(QString(), path, interface, QString::fromLatin1(WidgetCenter::reloadKindSignal), this,
                       SLOT(reloadTimelines(QString)));
}

void WidgetHost::reloadAllTimelines()
{
    m_reloadEverything = true;
    m_reloadSoon.start();
}

void WidgetHost::reloadTimelines(const QString &kind)
{
    m_kindsToReload.insert(kind);
    m_reloadSoon.start();
}

void WidgetHost::startBundle()
{
    // The old bundle goes first: its language must not outlive it.
    m_declarations.clear();
    m_bundle.reset();
    m_bundle = m_extension.createBundle();
    m_declarations = m_bundle ? m_bundle->widgets() : QList<widgetkit::WidgetDeclaration>();
    m_engine.retranslate();
}

void WidgetHost::reload()
{
    startBundle();
    for (const auto &widget : m_widgets) {
        const QString &kind = widget->settings().kind;
        if (!m_reloadEverything && !m_kindsToReload.contains(kind))
            continue;
        if (const widgetkit::WidgetDeclaration *found = declaration(kind))
            widget->present(*found);
    }
    m_reloadEverything = false;
    m_kindsToReload.clear();
    // The entries, bundle and bindings this reload replaced are garbage of
    // the JavaScript heap now; left to the collector's own pace they pile up
    // for a hundred reloads before it runs.
    m_engine.collectGarbage();
}

const widgetkit::WidgetDeclaration *WidgetHost::declaration(const QString &kind) const
{
    for (const widgetkit::WidgetDeclaration &candidate : m_declarations) {
        if (candidate.kind == kind && candidate.provider)
            return &candidate;
    }
    return nullptr;
}

void WidgetHost::addWidget(const QString &kind, widgetkit::WidgetFamily family)
{
    HostedWidgetSettings settings{QUuid::createUuid().toString(QUuid::WithoutBraces), kind, family,
                                  freePlace(family), {}};
    m_preferences.save(settings);
    show(settings);
}

void WidgetHost::show(const HostedWidgetSettings &settings)
{
    const widgetkit::WidgetDeclaration *found = declaration(settings.kind);
    // A widget of a kind the extension no longer offers stays stored but unseen.
    if (!found || !found->supportedFamilies.contains(settings.family))
        return;
    HostedWidgetSettings placed = settings;
    // A widget never covers another: one stored on top of another moves.
    const QSize size = HostedWidget::sizeOf(settings.family);
    const auto covers = [&placed, size](const auto &widget) {
        return widget->frame().intersects(QRect(*placed.position, size));
    };
    if (!placed.position || std::any_of(m_widgets.cbegin(), m_widgets.cend(), covers))
        placed.position = freePlace(settings.family);
    auto widget = std::make_unique<HostedWidget>(placed, m_engine, m_layerShell);
    HostedWidget *raw = widget.get();
    connect(raw, &HostedWidget::addRequested, this,
            [this, raw](widgetkit::WidgetFamily family) { addWidget(raw->settings().kind, family); });
    connect(raw, &HostedWidget::removeRequested, this, [this, raw] { remove(raw); });
    connect(raw, &HostedWidget::settingsChanged, this, [this, raw] { m_preferences.save(raw->settings()); });
    m_widgets.push_back(std::move(widget));
    raw->present(*found);
}

void WidgetHost::remove(HostedWidget *widget)
{
    m_preferences.remove(widget->settings().id);
    std::erase_if(m_widgets, [widget](const auto &owned) { return owned.get() == widget; });
}

QPoint WidgetHost::freePlace(widgetkit::WidgetFamily family) const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    const QSize size = HostedWidget::sizeOf(family);
    // Right of the right-most widget in the top row, else below everything.
    QPoint place = area.topLeft() + QPoint(gap * 2, gap * 2);
    int bottom = place.y();
    for (const auto &widget : m_widgets) {
        const QRect frame = widget->frame();
        bottom = std::max(bottom, frame.bottom() + gap);
        if (frame.top() == place.y())
            place.setX(std::max(place.x(), frame.right() + 1 + gap));
    }
    if (place.x() + size.width() > area.right())
        place = QPoint(area.left() + gap * 2, bottom);
    return place;
}

} // namespace vorlie
