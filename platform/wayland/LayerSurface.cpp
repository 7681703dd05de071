#include "LayerSurface.h"

#include "LayerShell.h"
#include "viewporter-client-protocol.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

namespace vorlie::wayland {
namespace {

void layerConfigure(void *data, zwlr_layer_surface_v1 *, uint32_t serial, uint32_t width, uint32_t height)
{
    static_cast<LayerSurface *>(data)->configured(serial, QSize(static_cast<int>(width), static_cast<int>(height)));
}

void layerClosed(void *data, zwlr_layer_surface_v1 *)
{
    static_cast<LayerSurface *>(data)->closedByCompositor();
}

const zwlr_layer_surface_v1_listener layerListener{layerConfigure, layerClosed};

// Each buffer is used for one picture and freed once the compositor lets go.
void bufferRelease(void *, wl_buffer *buffer)
{
    wl_buffer_destroy(buffer);
}

const wl_buffer_listener bufferListener{bufferRelease};

uint32_t anchorOf(Qt::Edges edges)
{
    uint32_t anchor = 0;
    if (edges & Qt::TopEdge)
        anchor |= ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP;
    if (edges & Qt::BottomEdge)
        anchor |= ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM;
    if (edges & Qt::LeftEdge)
        anchor |= ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT;
    if (edges & Qt::RightEdge)
        anchor |= ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;
    return anchor;
}

uint32_t keyboardOf(const LayerPlacement &placement, uint32_t shellVersion)
{
    if (!placement.takesKeyboard)
        return ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE;
    // Before version 4 the only way to the keyboard was to hold it.
    return shellVersion >= 4 ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_ON_DEMAND
                             : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE;
}

// The picture in shared memory as the compositor reads it: ARGB8888 is
// QImage's premultiplied ARGB32 on a little-endian machine.
wl_buffer *sharedBuffer(wl_shm *shm, const QImage &picture)
{
    const QImage pixels = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int stride = static_cast<int>(pixels.bytesPerLine());
    const int bytes = stride * pixels.height();
    const int fd = memfd_create("vorlie-layer-surface", MFD_CLOEXEC);
    if (fd < 0)
        return nullptr;
    wl_buffer *buffer = nullptr;
    if (ftruncate(fd, bytes) == 0) {
        void *memory = mmap(nullptr, static_cast<size_t>(bytes), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (memory != MAP_FAILED) {
            std::memcpy(memory, pixels.constBits(), static_cast<size_t>(bytes));
            munmap(memory, static_cast<size_t>(bytes));
            wl_shm_pool *pool = wl_shm_create_pool(shm, fd, bytes);
            buffer = wl_shm_pool_create_buffer(pool, 0, pixels.width(), pixels.height(), stride, WL_SHM_FORMAT_ARGB8888);
            wl_shm_pool_destroy(pool);
            wl_buffer_add_listener(buffer, &bufferListener, nullptr);
        }
    }
    close(fd);
    return buffer;
}

// Where a surface of `size` at `placement` lies in an `area` of the output.
QRect placedIn(QSize area, const LayerPlacement &placement, QSize size)
{
    // Anchored to one edge of a pair it keeps its margin from that edge;
    // to both or neither, it is centred between them.
    const QMargins &margins = placement.margins;
    const Qt::Edges edges = placement.edges;
    QRect placed(QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2), size);
    if (edges.testFlag(Qt::LeftEdge) != edges.testFlag(Qt::RightEdge)) {
        if (edges.testFlag(Qt::LeftEdge))
            placed.moveLeft(margins.left());
        else
            placed.moveRight(area.width() - 1 - margins.right());
    }
    if (edges.testFlag(Qt::TopEdge) != edges.testFlag(Qt::BottomEdge)) {
        if (edges.testFlag(Qt::TopEdge))
            placed.moveTop(margins.top());
        else
            placed.moveBottom(area.height() - 1 - margins.bottom());
    }
    return placed;
}

} // namespace

LayerSurface::LayerSurface(LayerShell &shell, QSize size, const LayerPlacement &placement, QObject *parent)
    : QObject(parent)
    , m_shell(shell)
    , m_size(size)
    , m_placement(placement)
    , m_surface(wl_compositor_create_surface(shell.compositor()))
    , m_layerSurface(zwlr_layer_shell_v1_get_layer_surface(
          shell.layerShell(), m_surface, nullptr,
          placement.layer == LayerPlacement::Layer::Top ? ZWLR_LAYER_SHELL_V1_LAYER_TOP : ZWLR_LAYER_SHELL_V1_LAYER_BOTTOM,
          placement.role))
{
    zwlr_layer_surface_v1_add_listener(m_layerSurface, &layerListener, this);
    const QSize asked = size.expandedTo(QSize(0, 0));
    zwlr_layer_surface_v1_set_size(m_layerSurface, static_cast<uint32_t>(asked.width()), static_cast<uint32_t>(asked.height()));
    zwlr_layer_surface_v1_set_anchor(m_layerSurface, anchorOf(placement.edges));
    // -1: margins count from the output's edges, so a stored place means the
    // same point on every desktop; 0: the compositor keeps it off the bars.
    zwlr_layer_surface_v1_set_exclusive_zone(m_layerSurface, placement.keepsClearOfBars ? 0 : -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(m_layerSurface, keyboardOf(placement, shell.layerShellVersion()));
    if (size.isEmpty() && shell.viewporter())
        m_viewport = wp_viewporter_get_viewport(shell.viewporter(), m_surface);
    m_shell.addSurface(this);
    commitPlace();
}

LayerSurface::LayerSurface(LayerShell &shell, QSize size, QPoint topLeft, QObject *parent)
    : LayerSurface(shell, size, LayerPlacement{.margins = QMargins(topLeft.x(), topLeft.y(), 0, 0)}, parent)
{
}

LayerSurface::~LayerSurface()
{
    m_shell.removeSurface(this);
    if (m_viewport)
        wp_viewport_destroy(m_viewport);
    zwlr_layer_surface_v1_destroy(m_layerSurface);
    wl_surface_destroy(m_surface);
    m_shell.flush();
}

void LayerSurface::moveTo(QPoint topLeft)
{
    if (topLeft == this->topLeft())
        return;
    m_placement.margins.setLeft(topLeft.x());
    m_placement.margins.setTop(topLeft.y());
    commitPlace();
}

void LayerSurface::resize(QSize size)
{
    if (size == m_size)
        return;
    m_size = size;
    zwlr_layer_surface_v1_set_size(m_layerSurface, static_cast<uint32_t>(size.width()), static_cast<uint32_t>(size.height()));
    commitPlace();
}

void LayerSurface::setTakesKeyboard(bool takes)
{
    m_placement.takesKeyboard = takes;
    if (takes) {
        // Asking for the keyboard on demand does not bring it back once
        // given up; holding it for a moment does, on every compositor.
        zwlr_layer_surface_v1_set_keyboard_interactivity(m_layerSurface, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
        wl_surface_commit(m_surface);
    }
    zwlr_layer_surface_v1_set_keyboard_interactivity(m_layerSurface, keyboardOf(m_placement, m_shell.layerShellVersion()));
    wl_surface_commit(m_surface);
    m_shell.flush();
}

void LayerSurface::commitPlace()
{
    const QMargins &margins = m_placement.margins;
    zwlr_layer_surface_v1_set_margin(m_layerSurface, margins.top(), margins.right(), margins.bottom(), margins.left());
    wl_surface_commit(m_surface);
    m_shell.flush();
}

void LayerSurface::present(const QImage &picture)
{
    m_picture = picture;
    if (m_configured)
        attachPicture();
}

void LayerSurface::passPointerWhere(const LayerPlacement &placement, QSize size)
{
    m_passThrough = std::pair(placement, size);
    if (m_configured) {
        applyInputRegion();
        wl_surface_commit(m_surface);
        m_shell.flush();
    }
}

void LayerSurface::applyInputRegion()
{
    if (!m_passThrough || m_size.isEmpty())
        return;
    wl_region *region = wl_compositor_create_region(m_shell.compositor());
    wl_region_add(region, 0, 0, m_size.width(), m_size.height());
    const QRect hole = placedIn(m_size, m_passThrough->first, m_passThrough->second);
    wl_region_subtract(region, hole.x(), hole.y(), hole.width(), hole.height());
    wl_surface_set_input_region(m_surface, region);
    wl_region_destroy(region);
}

void LayerSurface::configured(uint32_t serial, QSize size)
{
    zwlr_layer_surface_v1_ack_configure(m_layerSurface, serial);
    if (m_viewport && !size.isEmpty()) {
        m_size = size;
        wp_viewport_set_destination(m_viewport, size.width(), size.height());
    }
    applyInputRegion();
    m_configured = true;
    attachPicture();
}

void LayerSurface::closedByCompositor()
{
    // The output went away; the picture stays unseen until the host starts again.
    m_configured = false;
}

void LayerSurface::attachPicture()
{
    if (m_picture.isNull())
        return;
    if (m_size.isEmpty())
        return;
    // A picture drawn for a scaled output (device pixel ratio 2) is shown
    // pixel for pixel at that scale; one of another size is stretched.
    const int scale = m_viewport ? 1 : std::max(1, qRound(m_picture.devicePixelRatio()));
    const QImage picture = m_viewport || m_picture.size() == m_size * scale ? m_picture : m_picture.scaled(m_size * scale);
    wl_buffer *buffer = sharedBuffer(m_shell.shm(), picture);
    if (!buffer)
        return;
    wl_surface_set_buffer_scale(m_surface, scale);
    wl_surface_attach(m_surface, buffer, 0, 0);
    wl_surface_damage_buffer(m_surface, 0, 0, picture.width(), picture.height());
    wl_surface_commit(m_surface);
    m_shell.flush();
}

} // namespace vorlie::wayland
