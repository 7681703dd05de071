#pragma once

#include <QImage>
#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <optional>
#include <utility>

struct wp_viewport;
struct wl_surface;
struct zwlr_layer_surface_v1;

namespace vorlie::wayland {

class LayerShell;

// Where a layer surface sits on the output: the layer, the edges it is
// anchored to and its distance from them.
struct LayerPlacement {
    enum class Layer { Bottom, Top };
    Layer layer = Layer::Bottom;
    Qt::Edges edges = Qt::TopEdge | Qt::LeftEdge;
    QMargins margins;
    // A desktop widget counts its margins from the output's edges and
    // ignores the keyboard; a panel keeps clear of the bars and takes the
    // keyboard as a window would.
    bool keepsClearOfBars = false;
    bool takesKeyboard = false;
    // The name the compositor's rules know the surface by.
    const char *role = "vorlie-widget";
};

// A picture on a layer of the desktop, shown as soon as the compositor has
// configured the surface. It reports the pointer and keys on it in its own
// coordinates. Made with an empty size, it is as large as the compositor
// makes it (anchored to opposite edges) and its picture is stretched to fit.
class LayerSurface : public QObject {
    Q_OBJECT

public:
    LayerSurface(LayerShell &shell, QSize size, const LayerPlacement &placement, QObject *parent = nullptr);
    // On the bottom layer with its top-left corner at `topLeft` of the output.
    LayerSurface(LayerShell &shell, QSize size, QPoint topLeft, QObject *parent = nullptr);
    ~LayerSurface() override;

    wl_surface *surface() const { return m_surface; }
    // Meaningful for a surface anchored top-left: its place on the output.
    QPoint topLeft() const { return {m_placement.margins.left(), m_placement.margins.top()}; }
    void moveTo(QPoint topLeft);
    void resize(QSize size);
    // Gives the keyboard up, or takes it back, while shown.
    void setTakesKeyboard(bool takes);
    void present(const QImage &picture);
    // Lets the pointer through where a surface of `size` at `placement`
    // lies on the same layer, its edges counted the same way as this one's.
    void passPointerWhere(const LayerPlacement &placement, QSize size);

    bool isPressed() const { return m_pressed; }
    void setPressed(bool pressed) { m_pressed = pressed; }

    // For the listeners of the protocol's objects.
    void configured(uint32_t serial, QSize size);
    void closedByCompositor();

signals:
    void pointerEntered(QPointF local);
    void pointerLeft();
    void pointerPressed(Qt::MouseButton button, QPointF local);
    void pointerMoved(QPointF local);
    void pointerReleased(Qt::MouseButton button, QPointF local);
    void keyboardEntered();
    void keyboardLeft();
    void keyPressed(int key, Qt::KeyboardModifiers modifiers, const QString &text);
    void keyReleased(int key, Qt::KeyboardModifiers modifiers, const QString &text);

private:
    void attachPicture();
    void commitPlace();
    void applyInputRegion();

    LayerShell &m_shell;
    QSize m_size;
    LayerPlacement m_placement;
    wl_surface *m_surface;
    zwlr_layer_surface_v1 *m_layerSurface;
    wp_viewport *m_viewport = nullptr;
    QImage m_picture;
    std::optional<std::pair<LayerPlacement, QSize>> m_passThrough;
    bool m_configured = false;
    bool m_pressed = false;
};

} // namespace vorlie::wayland
