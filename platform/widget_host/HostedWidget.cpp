#include "HostedWidget.h"

#include "LayerShell.h"
#include "LayerSurface.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainterPath>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStyleHints>

#include <algorithm>
#include <chrono>

namespace vorlie {
namespace {

constexpr qreal cornerRadius = 22;
// However far away the extension asks to be reloaded, ask at least daily;
// never sooner than a second, so a clock in the past cannot make us spin.
constexpr qint64 minimumReloadMs = 1000;
constexpr qint64 maximumReloadMs = qint64{24} * 3600 * 1000;

QRegion roundedRegion(QSize size)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(0, 0), size), cornerRadius, cornerRadius);
    return QRegion(path.toFillPolygon().toPolygon());
}

} // namespace

QSize HostedWidget::sizeOf(widgetkit::WidgetFamily family)
{
    return family == widgetkit::WidgetFamily::small ? QSize(170, 170) : QSize(364, 170);
}

HostedWidget::HostedWidget(HostedWidgetSettings settings, QQmlEngine &engine, wayland::LayerShell *layerShell,
                           QObject *parent)
    : QObject(parent)
    , m_settings(std::move(settings))
    , m_engine(engine)
    , m_window(std::make_unique<QQuickWindow>())
{
    m_window->setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint | Qt::WindowDoesNotAcceptFocus);
    m_window->setTitle(m_settings.kind);
    QSurfaceFormat format = m_window->format();
    format.setAlphaBufferSize(8);
    m_window->setFormat(format);
    m_window->setColor(Qt::transparent);
    const QSize size = sizeOf(m_settings.family);
    m_window->resize(size);
    m_window->setMinimumSize(size);
    m_window->setMaximumSize(size);
    // Without a compositor the corners cannot be transparent; cut them off.
    m_window->setMask(roundedRegion(size));
    if (m_settings.position)
        m_window->setPosition(*m_settings.position);
    m_window->installEventFilter(this);

    m_reloadTimer.setSingleShot(true);
    connect(&m_reloadTimer, &QTimer::timeout, this, &HostedWidget::reloadTimeline);
    // A drag moves the window many times; the file is written once it rests.
    m_savePosition.setSingleShot(true);
    m_savePosition.setInterval(300);
    connect(&m_savePosition, &QTimer::timeout, this, &HostedWidget::positionChanged);
    connect(m_window.get(), &QWindow::xChanged, &m_savePosition, qOverload<>(&QTimer::start));
    connect(m_window.get(), &QWindow::yChanged, &m_savePosition, qOverload<>(&QTimer::start));

    if (layerShell) {
        m_layer = std::make_unique<wayland::LayerSurface>(*layerShell, size, m_window->position());
        // The surface reports the pointer on itself; a drag follows it on the output.
        const auto onOutput = [this](QPointF local) { return m_layer->topLeft() + local; };
        connect(m_layer.get(), &wayland::LayerSurface::pointerPressed, this,
                [this, onOutput](Qt::MouseButton button, QPointF local) { press(button, onOutput(local)); });
        connect(m_layer.get(), &wayland::LayerSurface::pointerMoved, this,
                [this, onOutput](QPointF local) { drag(onOutput(local)); });
        connect(m_layer.get(), &wayland::LayerSurface::pointerReleased, this,
                [this, onOutput](Qt::MouseButton button, QPointF local) { release(button, onOutput(local)); });
        m_redrawSoon.setSingleShot(true);
        m_redrawSoon.setInterval(50);
        connect(&m_redrawSoon, &QTimer::timeout, this, &HostedWidget::redraw);
        m_redrawEveryMinute.start(std::chrono::minutes(1));
        connect(&m_redrawEveryMinute, &QTimer::timeout, this, &HostedWidget::redraw);
    }
}

HostedWidget::~HostedWidget()
{
    // The view goes before the entry it shows.
    delete m_view;
}

QRect HostedWidget::frame() const
{
    // Drawing a window that is never shown may make it, and a Wayland
    // window forgets its place: on a layer the surface knows it.
    return m_layer ? QRect(m_layer->topLeft(), sizeOf(m_settings.family)) : m_window->geometry();
}

widgetkit::TimelineContext HostedWidget::context() const
{
    return {m_settings.family, QSizeF(sizeOf(m_settings.family))};
}

void HostedWidget::present(const widgetkit::WidgetDeclaration &declaration)
{
    m_declaration = declaration;
    // A new view shows the placeholder until the timeline's first entry,
    // the current content, is there; a view that exists keeps what it shows.
    if (!m_view || m_viewUrl != declaration.view) {
        createView(declaration.view);
        showEntry(declaration.provider->placeholder(context()));
    }
    reloadTimeline();
    if (m_layer)
        m_redrawSoon.start();
    else
        m_window->show();
}

void HostedWidget::redraw()
{
    // The software scene graph draws a window that is not shown.
    m_layer->present(m_window->grabWindow());
}

void HostedWidget::reloadTimeline()
{
    if (!m_declaration.provider)
        return;
    const widgetkit::Timeline timeline = m_declaration.provider->timeline(m_settings.configuration, context());
    // The first entry is the current one; later entries are not offered by
    // the widgets we host.
    if (!timeline.entries.isEmpty())
        showEntry(timeline.entries.first());
    m_reloadTimer.stop();
    if (timeline.reloadAfter) {
        const qint64 wait = QDateTime::currentDateTimeUtc().msecsTo(*timeline.reloadAfter);
        m_reloadTimer.start(std::chrono::milliseconds(std::clamp(wait, minimumReloadMs, maximumReloadMs)));
    }
}

void HostedWidget::createView(const QUrl &url)
{
    delete m_view;
    m_view = nullptr;
    m_viewUrl = url;
    QQmlComponent component(&m_engine, url);
    QObject *object = component.create();
    auto *item = qobject_cast<QQuickItem *>(object);
    if (!item) {
        qWarning("vorlie-widget-host: the view %s did not load: %s", qPrintable(url.toString()),
                 qPrintable(component.errorString()));
        delete object;
        return;
    }
    item->setParentItem(m_window->contentItem());
    item->setSize(QSizeF(sizeOf(m_settings.family)));
    item->setProperty("family", widgetkit::familyName(m_settings.family));
    m_view = item;
}

void HostedWidget::showEntry(const widgetkit::TimelineEntry &entry)
{
    if (!m_view)
        return;
    if (entry.content)
        QQmlEngine::setObjectOwnership(entry.content.get(), QQmlEngine::CppOwnership);
    // The view lets go of the old entry before it is freed.
    m_view->setProperty("entry", QVariant::fromValue(entry.content.get()));
    m_entry = entry.content;
    if (m_layer)
        m_redrawSoon.start();
}

bool HostedWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window.get())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        press(mouse->button(), mouse->globalPosition());
        return true;
    }
    case QEvent::MouseMove:
        drag(static_cast<QMouseEvent *>(event)->globalPosition());
        return true;
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        release(mouse->button(), mouse->globalPosition());
        return true;
    }
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

void HostedWidget::press(Qt::MouseButton button, QPointF global)
{
    if (button == Qt::RightButton) {
        openMenu(global.toPoint());
    } else if (button == Qt::LeftButton) {
        m_pressed = true;
        m_dragging = false;
        m_systemMove = false;
        m_pressGlobal = global;
        m_pressWindowPosition = frame().topLeft();
    }
}

void HostedWidget::drag(QPointF global)
{
    if (!m_pressed || m_systemMove)
        return;
    const QPointF moved = global - m_pressGlobal;
    if (!m_dragging && moved.manhattanLength() >= QGuiApplication::styleHints()->startDragDistance()) {
        m_dragging = true;
        // The window manager moves it where it can; else we follow the pointer.
        m_systemMove = !m_layer && m_window->startSystemMove();
    }
    // A layer surface moves once it is dropped: the pointer's positions
    // arrive relative to the surface, and a surface that moved meanwhile
    // would make them jump.
    if (m_dragging && !m_systemMove && !m_layer)
        moveTo(m_pressWindowPosition + moved.toPoint());
}

void HostedWidget::release(Qt::MouseButton button, QPointF global)
{
    if (button == Qt::LeftButton && m_pressed && !m_dragging)
        tap();
    if (button == Qt::LeftButton && m_pressed && m_dragging && m_layer)
        moveTo(m_pressWindowPosition + (global - m_pressGlobal).toPoint());
    if (button == Qt::LeftButton)
        m_pressed = false;
}

void HostedWidget::moveTo(QPoint topLeft)
{
    if (!m_layer) {
        m_window->setPosition(topLeft);
        return;
    }
    // A window never shown reports no move.
    m_layer->moveTo(topLeft);
    m_savePosition.start();
}

void HostedWidget::tap()
{
    const QUrl url = m_view ? m_view->property("widgetURL").toUrl() : QUrl();
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

void HostedWidget::openMenu(const QPoint &globalPosition)
{
    QMenu menu;
    //% "Add small widget"
    connect(menu.addAction(qtTrId("widget.host.add_small")), &QAction::triggered, this,
            [this] { emit addRequested(widgetkit::WidgetFamily::small); });
    //% "Add medium widget"
    connect(menu.addAction(qtTrId("widget.host.add_medium")), &QAction::triggered, this,
            [this] { emit addRequested(widgetkit::WidgetFamily::medium); });
    if (!m_declaration.parameters.isEmpty())
        menu.addSeparator();
    for (const widgetkit::ConfigurationParameter &parameter : std::as_const(m_declaration.parameters)) {
        QAction *option = menu.addAction(parameter.title);
        option->setCheckable(true);
        option->setChecked(m_settings.configuration.value(parameter.name, parameter.defaultValue).toBool());
        connect(option, &QAction::toggled, this, [this, name = parameter.name](bool on) {
            m_settings.configuration.insert(name, on);
            emit settingsChanged();
            reloadTimeline();
        });
    }
    menu.addSeparator();
    //% "Remove this widget"
    connect(menu.addAction(qtTrId("widget.host.remove")), &QAction::triggered, this, [this] { emit removeRequested(); },
            Qt::QueuedConnection);
    // On a layer the menu has no window to hang from and becomes a small
    // window of its own: of fixed size, so that no compositor stretches it.
    if (m_layer)
        menu.setFixedSize(menu.sizeHint());
    menu.exec(globalPosition);
}

void HostedWidget::positionChanged()
{
    const QPoint position = frame().topLeft();
    if (m_settings.position == position)
        return;
    m_settings.position = position;
    emit settingsChanged();
}

} // namespace vorlie
