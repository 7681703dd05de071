#pragma once

namespace vorlie {

// Qt Quick draws each window on a thread of its own. Mesa's software
// rasterizer (llvmpipe, softpipe, swrast: Xvfb, virtual machines, machines
// without a GPU driver) reads memory it has already freed when windows come
// and go under that loop, so the program died silently now and then while
// the tray panel opened and closed. On such a rasterizer every window is
// drawn on the main thread instead. Call once the application object exists
// and before the first window; a render loop chosen through QSG_RENDER_LOOP
// is kept.
void avoidThreadedSoftwareRendering();

} // namespace vorlie
