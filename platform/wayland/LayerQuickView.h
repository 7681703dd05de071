#pragma once

#include "LayerSurface.h"

#include <QEvent>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>

class QQuickItem;
class QQuickRenderControl;
class QQuickWindow;

namespace vorlie::wayland {

class LayerShell;

// A Qt Quick scene shown on a layer surface instead of in a window of its
// own: Qt Quick's software renderer draws it into a picture, each frame is
// copied onto the surface, and the pointer and keys on the surface are
// handed back to the scene as Qt events. The view is as large as its
// content's implicit size.
class LayerQuickView : public QObject {
    Q_OBJECT

public:
    explicit LayerQuickView(LayerShell &shell, QObject *parent = nullptr);
    ~LayerQuickView() override;

    // The scene's window, never shown itself; events sent to it reach the scene.
    QQuickWindow *window() const;
    // The scene's root item; the view owns it from now on.
    void setContent(QQuickItem *content);
    // Draws a first frame unseen, so that showing costs only a copy. False
    // unless Qt Quick draws with its software renderer (Qt's OpenGL cannot
    // draw off screen on Wayland).
    bool prepare();
    void show(const LayerPlacement &placement);
    void hide();
    bool isShown() const { return m_surface != nullptr; }
    // Lets a window take the keyboard while the view stays shown, and takes it back.
    void releaseKeyboard();
    void takeKeyboard();
    bool hasKeyboard() const { return m_keyboard; }

signals:
    void shownChanged();
    void keyboardChanged();

private:
    void fitContent();
    void scheduleFrame();
    void renderFrame();
    void connectInput();
    void sendMouse(QEvent::Type type, QPointF local, Qt::MouseButton button);
    void setKeyboard(bool keyboard);
    void sendFocus(bool in);
    // Clears hover: the pointer is no longer over the scene.
    void pointerGone();

    LayerShell &m_shell;
    std::unique_ptr<QQuickRenderControl> m_control;
    std::unique_ptr<QQuickWindow> m_window;
    QPointer<QQuickItem> m_content;
    std::unique_ptr<LayerSurface> m_surface;
    // Kept from frame to frame: the renderer paints only what changed.
    QImage m_picture;
    bool m_ready = false;
    bool m_keyboard = false;
    Qt::MouseButtons m_buttons;
    QTimer m_frame;
};

} // namespace vorlie::wayland
