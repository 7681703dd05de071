#include "LayerSurface.h"

#include "LayerShell.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

namespace vorlie::wayland {
namespace {

void layerConfigure(void *data, zwlr_layer_surface_v1 *, uint32_t serial, uint32_t, uint32_t)
{
    static_cast<LayerSurface *>(data)->configured(serial);
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

} // namespace

LayerSurface::LayerSurface(LayerShell &shell, QSize size, QPoint topLeft, QObject *parent)
    : QObject(parent)
    , m_shell(shell)
    , m_size(size)
    , m_topLeft(topLeft)
    , m_surface(wl_compositor_create_surface(shell.compositor()))
    , m_layerSurface(zwlr_layer_shell_v1_get_layer_surface(shell.layerShell(), m_surface, nullptr,
                                                           ZWLR_LAYER_SHELL_V1_LAYER_BOTTOM, "vorlie-widget"))
{
    zwlr_layer_surface_v1_add_listener(m_layerSurface, &layerListener, this);
    zwlr_layer_surface_v1_set_size(m_layerSurface, static_cast<uint32_t>(size.width()), static_cast<uint32_t>(size.height()));
    zwlr_layer_surface_v1_set_anchor(m_layerSurface,
                                     ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT);
    // Margins count from the output's edges, not from a bar's reserved
    // space, so a stored place means the same point on every desktop.
    zwlr_layer_surface_v1_set_exclusive_zone(m_layerSurface, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(m_layerSurface, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    m_shell.addSurface(this);
    commitPlace();
}

LayerSurface::~LayerSurface()
{
    m_shell.removeSurface(this);
    zwlr_layer_surface_v1_destroy(m_layerSurface);
    wl_surface_destroy(m_surface);
    m_shell.flush();
}

void LayerSurface::moveTo(QPoint topLeft)
{
    if (topLeft == m_topLeft)
        return;
    m_topLeft = topLeft;
    commitPlace();
}

void LayerSurface::commitPlace()
{
    zwlr_layer_surface_v1_set_margin(m_layerSurface, m_topLeft.y(), 0, 0, m_topLeft.x());
    wl_surface_commit(m_surface);
    m_shell.flush();
}

void LayerSurface::present(const QImage &picture)
{
    m_picture = picture;
    if (m_configured)
        attachPicture();
}

void LayerSurface::configured(uint32_t serial)
{
    zwlr_layer_surface_v1_ack_configure(m_layerSurface, serial);
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
    wl_buffer *buffer = sharedBuffer(m_shell.shm(), m_picture.scaled(m_size));
    if (!buffer)
        return;
    wl_surface_attach(m_surface, buffer, 0, 0);
    wl_surface_damage_buffer(m_surface, 0, 0, m_size.width(), m_size.height());
    wl_surface_commit(m_surface);
    m_shell.flush();
}

} // namespace vorlie::wayland
