#include "RenderLoop.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

namespace vorlie {

void avoidThreadedSoftwareRendering()
{
    if (qEnvironmentVariableIsSet("QSG_RENDER_LOOP") || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    if (!context.create() || !context.makeCurrent(&surface))
        return;
    const QByteArray renderer =
        QByteArray(reinterpret_cast<const char *>(context.functions()->glGetString(GL_RENDERER))).toLower();
    context.doneCurrent();
    if (renderer.contains("llvmpipe") || renderer.contains("softpipe") || renderer.contains("swrast")
        || renderer.contains("software rasterizer"))
        qputenv("QSG_RENDER_LOOP", "basic");
}

} // namespace vorlie
