#include "LayerQuickView.h"

#include "LayerShell.h"

#include <QGuiApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QQuickItem>
#include <QQuickRenderControl>
#include <QQuickRenderTarget>
#include <QQuickWindow>
#include <QScreen>
#include <QtMath>
#include <algorithm>

namespace vorlie::wayland {

LayerQuickView::LayerQuickView(LayerShell &shell, QObject *parent)
    : QObject(parent)
    , m_shell(shell)
    , m_control(std::make_unique<QQuickRenderControl>())
    , m_window(std::make_unique<QQuickWindow>(m_control.get()))
{
    m_window->setColor(Qt::transparent);
    // Changes arrive in bursts (a binding, an animation's step): one frame for each burst.
    m_frame.setSingleShot(true);
    m_frame.setInterval(0);
    connect(&m_frame, &QTimer::timeout, this, &LayerQuickView::renderFrame);
    connect(m_control.get(), &QQuickRenderControl::renderRequested, this, &LayerQuickView::scheduleFrame);
    connect(m_control.get(), &QQuickRenderControl::sceneChanged, this, &LayerQuickView::scheduleFrame);
    // Qt Quick lets a window that is not on screen through Qt take the focus
    // only while none of Qt's own windows has it. The keyboard can reach the
    // layer, over its own connection, before Qt has let go of a window of its
    // own (the picker): the layer's items take the focus once Qt has.
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](const QWindow *focused) {
        if (m_keyboard && !focused)
            sendFocus(true);
    });
}

LayerQuickView::~LayerQuickView()
{
    m_surface.reset();
    // The scene graph goes with the render control, before the window.
    delete m_content;
    m_control.reset();
    m_window.reset();
}

QQuickWindow *LayerQuickView::window() const
{
    return m_window.get();
}

void LayerQuickView::setContent(QQuickItem *content)
{
    m_content = content;
    content->setParentItem(m_window->contentItem());
    connect(content, &QQuickItem::implicitWidthChanged, this, &LayerQuickView::fitContent);
    connect(content, &QQuickItem::implicitHeightChanged, this, &LayerQuickView::fitContent);
    fitContent();
}

void LayerQuickView::fitContent()
{
    const QSize size(qCeil(m_content->implicitWidth()), qCeil(m_content->implicitHeight()));
    if (size.isEmpty())
        return;
    m_content->setSize(size);
    m_window->resize(size);
    if (m_surface)
        m_surface->resize(size);
    scheduleFrame();
}

bool LayerQuickView::prepare()
{
    if (m_ready)
        return true;
    if (QQuickWindow::sceneGraphBackend() != QLatin1String("software"))
        return false;
    m_ready = true;
    renderFrame();
    return true;
}

void LayerQuickView::scheduleFrame()
{
    // A hidden scene is drawn when it is shown again.
    if (m_ready && m_surface)
        m_frame.start();
}

void LayerQuickView::renderFrame()
{
    if (!m_ready || m_window->size().isEmpty())
        return;
    // Drawn at the output's scale, so that a scaled output shows it sharp.
    // A window never shown keeps a ratio of 1: its screen's counts.
    const qreal scale = std::max(1, qRound(m_window->screen() ? m_window->screen()->devicePixelRatio() : 1.0));
    if (m_picture.size() != m_window->size() * scale) {
        m_picture = QImage(m_window->size() * scale, QImage::Format_ARGB32_Premultiplied);
        m_picture.setDevicePixelRatio(scale);
        m_picture.fill(Qt::transparent);
        m_window->setRenderTarget(QQuickRenderTarget::fromPaintDevice(&m_picture));
    }
    m_control->polishItems();
    m_control->beginFrame();
    m_control->sync();
    m_control->render();
    m_control->endFrame();
    if (m_surface)
        m_surface->present(m_picture);
}

void LayerQuickView::show(const LayerPlacement &placement)
{
    if (!m_ready)
        return;
    m_surface = std::make_unique<LayerSurface>(m_shell, m_window->size(), placement);
    connectInput();
    renderFrame();
    emit shownChanged();
}

void LayerQuickView::hide()
{
    if (!m_surface)
        return;
    m_frame.stop();
    m_surface.reset();
    setKeyboard(false);
    pointerGone();
    m_buttons = {};
    emit shownChanged();
}

void LayerQuickView::releaseKeyboard()
{
    if (m_surface)
        m_surface->setTakesKeyboard(false);
}

void LayerQuickView::takeKeyboard()
{
    if (m_surface)
        m_surface->setTakesKeyboard(true);
}

void LayerQuickView::connectInput()
{
    LayerSurface *surface = m_surface.get();
    connect(surface, &LayerSurface::pointerEntered, this,
            [this](QPointF local) { sendMouse(QEvent::MouseMove, local, Qt::NoButton); });
    connect(surface, &LayerSurface::pointerMoved, this,
            [this](QPointF local) { sendMouse(QEvent::MouseMove, local, Qt::NoButton); });
    connect(surface, &LayerSurface::pointerPressed, this, [this](Qt::MouseButton button, QPointF local) {
        m_buttons |= button;
        sendMouse(QEvent::MouseButtonPress, local, button);
    });
    connect(surface, &LayerSurface::pointerReleased, this, [this](Qt::MouseButton button, QPointF local) {
        m_buttons &= ~button;
        sendMouse(QEvent::MouseButtonRelease, local, button);
    });
    connect(surface, &LayerSurface::pointerLeft, this, &LayerQuickView::pointerGone);
    connect(surface, &LayerSurface::keyboardEntered, this, [this] { setKeyboard(true); });
    connect(surface, &LayerSurface::keyboardLeft, this, [this] { setKeyboard(false); });
    const auto sendKey = [this](QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, const QString &text) {
        QKeyEvent event(type, key, modifiers, text);
        QCoreApplication::sendEvent(m_window.get(), &event);
    };
    connect(surface, &LayerSurface::keyPressed, this,
            [sendKey](int key, Qt::KeyboardModifiers modifiers, const QString &text) {
                sendKey(QEvent::KeyPress, key, modifiers, text);
            });
    connect(surface, &LayerSurface::keyReleased, this,
            [sendKey](int key, Qt::KeyboardModifiers modifiers, const QString &text) {
                sendKey(QEvent::KeyRelease, key, modifiers, text);
            });
}

void LayerQuickView::sendMouse(QEvent::Type type, QPointF local, Qt::MouseButton button)
{
    QMouseEvent event(type, local, local, button, m_buttons, QGuiApplication::keyboardModifiers());
    QCoreApplication::sendEvent(m_window.get(), &event);
}

void LayerQuickView::pointerGone()
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(m_window.get(), &leave);
}

void LayerQuickView::setKeyboard(bool keyboard)
{
    if (keyboard == m_keyboard)
        return;
    m_keyboard = keyboard;
    sendFocus(keyboard);
    emit keyboardChanged();
}

void LayerQuickView::sendFocus(bool in)
{
    // Items take the active focus only in a window that has the focus.
    QFocusEvent focus(in ? QEvent::FocusIn : QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(m_window.get(), &focus);
}

} // namespace vorlie::wayland
