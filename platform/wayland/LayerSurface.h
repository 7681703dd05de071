#pragma once

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QSize>

struct wl_buffer;
struct wl_surface;
struct zwlr_layer_surface_v1;

namespace vorlie::wayland {

class LayerShell;

// A picture on the desktop's bottom layer, below every window, at a place
// of its own: anchored to the output's top-left corner with margins, which
// makes its place the same point in the output's coordinates. It shows the
// pictures it is given and reports the pointer on it in those coordinates.
class LayerSurface : public QObject {
    Q_OBJECT

public:
    LayerSurface(LayerShell &shell, QSize size, QPoint topLeft, QObject *parent = nullptr);
    ~LayerSurface() override;

    wl_surface *surface() const { return m_surface; }
    QPoint topLeft() const { return m_topLeft; }
    void moveTo(QPoint topLeft);
    // Shown as soon as the compositor has configured the surface.
    void present(const QImage &picture);

    bool isPressed() const { return m_pressed; }
    void setPressed(bool pressed) { m_pressed = pressed; }

    // For the listeners of the protocol's objects.
    void configured(uint32_t serial);
    void closedByCompositor();

signals:
    void pointerPressed(Qt::MouseButton button, QPointF global);
    void pointerMoved(QPointF global);
    void pointerReleased(Qt::MouseButton button, QPointF global);

private:
    void attachPicture();
    void commitPlace();

    LayerShell &m_shell;
    QSize m_size;
    QPoint m_topLeft;
    wl_surface *m_surface;
    zwlr_layer_surface_v1 *m_layerSurface;
    QImage m_picture;
    bool m_configured = false;
    bool m_pressed = false;
};

} // namespace vorlie::wayland
