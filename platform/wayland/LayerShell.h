#pragma once

#include <QObject>
#include <QPointF>
#include <QSocketNotifier>

#include <memory>

struct wl_compositor;
struct wl_display;
struct wl_pointer;
struct wl_registry;
struct wl_seat;
struct wl_shm;
struct wl_surface;
struct wp_viewporter;
struct zwlr_layer_shell_v1;

namespace vorlie::wayland {

class LayerSurface;
class SeatKeyboard;

// A connection of our own to the Wayland compositor, for surfaces on the
// desktop's layers (wlr-layer-shell). It lives beside Qt's connection and is
// served by the same event loop; the pointer's events go to the layer
// surface they happen on, the keyboard's to the one that has it.
class LayerShell : public QObject {
    Q_OBJECT

public:
    // Null when there is no Wayland display or the compositor offers no
    // layer shell (GNOME's, for one).
    static std::unique_ptr<LayerShell> connect();
    ~LayerShell() override;

    wl_compositor *compositor() const { return m_compositor; }
    wl_shm *shm() const { return m_shm; }
    zwlr_layer_shell_v1 *layerShell() const { return m_layerShell; }
    uint32_t layerShellVersion() const;
    // Null when the compositor cannot stretch a picture to a surface's size.
    wp_viewporter *viewporter() const { return m_viewporter; }
    // Sends what was asked so far.
    void flush();

    void addSurface(LayerSurface *surface);
    void removeSurface(LayerSurface *surface);

    // For the listeners of the protocol's objects.
    void bindGlobal(wl_registry *registry, uint32_t name, const char *interface, uint32_t version);
    void seatCapabilities(uint32_t capabilities);
    void pointerEntered(wl_surface *surface, QPointF position);
    void pointerLeft();
    void pointerMoved(QPointF position);
    void pointerButton(uint32_t button, bool pressed);

private:
    explicit LayerShell(wl_display *display);
    void dispatch();
    LayerSurface *surfaceOf(wl_surface *surface) const;
    bool roundTrip();

    wl_display *m_display;
    wl_registry *m_registry = nullptr;
    wl_compositor *m_compositor = nullptr;
    wl_shm *m_shm = nullptr;
    zwlr_layer_shell_v1 *m_layerShell = nullptr;
    wp_viewporter *m_viewporter = nullptr;
    wl_seat *m_seat = nullptr;
    wl_pointer *m_pointer = nullptr;
    std::unique_ptr<SeatKeyboard> m_keyboard;
    std::unique_ptr<QSocketNotifier> m_reader;
    QList<LayerSurface *> m_surfaces;
    LayerSurface *m_underPointer = nullptr;
    QPointF m_pointerPosition;
};

} // namespace vorlie::wayland
