// vorlie-widget-host: shows the vorlie desktop widgets. It loads the widget
// extension plug-in and keeps its widgets on the desktop, redrawn whenever
// the application asks.
#include "HostPreferences.h"
#include "LayerShell.h"
#include "WidgetHost.h"
#include "interface/WidgetExtension.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>
#include <QQuickWindow>

#include <cstdio>
#include <malloc.h>

namespace {

// The plug-in beside an installed host, else the one of this build tree.
QStringList pluginCandidates(const QString &requested)
{
    if (!requested.isEmpty())
        return {requested};
    const QString fromEnvironment = qEnvironmentVariable("VORLIE_WIDGETS_PLUGIN");
    if (!fromEnvironment.isEmpty())
        return {fromEnvironment};
    return {QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(VORLIE_WIDGETS_RELATIVE_PATH)),
            QStringLiteral(VORLIE_WIDGETS_BUILD_PATH)};
}

vorlie::widgetkit::WidgetExtension *loadExtension(QPluginLoader &loader, const QStringList &candidates)
{
    for (const QString &path : candidates) {
        if (!QFileInfo::exists(path))
            continue;
        loader.setFileName(path);
        // Never unloaded: the views' code stays in use until the end.
        if (auto *extension = qobject_cast<vorlie::widgetkit::WidgetExtension *>(loader.instance()))
            return extension;
        std::fprintf(stderr, "vorlie-widget-host: %s is not a widget extension: %s\n", qPrintable(path),
                     qPrintable(loader.errorString()));
    }
    return nullptr;
}

// On Wayland a window can neither place itself nor stay below the others:
// the widgets go on the desktop's bottom layer where the compositor offers
// one (wlr-layer-shell), else they stay small windows the compositor places.
std::unique_ptr<vorlie::wayland::LayerShell> desktopLayer()
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return nullptr;
    std::unique_ptr<vorlie::wayland::LayerShell> shell = vorlie::wayland::LayerShell::connect();
    if (!shell) {
        std::fprintf(stderr, "vorlie-widget-host: this desktop offers no layer shell (wlr-layer-shell): each widget "
                             "is a small window the desktop places, and may be covered by others\n");
    }
    return shell;
}

} // namespace

int main(int argc, char **argv)
{
    // Every reload reads the stored snapshot, a picture of some hundred
    // kilobytes, and frees it again. glibc's sliding threshold would move such
    // blocks from their own mappings into the heap once one was freed, where
    // the host, which lives all session, kept them as fragments: a fixed
    // threshold hands them back to the system.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    // A widget is a still picture: the software scene graph draws it without
    // a GL context and render thread per window, a third of the memory.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vorlie-widget-host"));
    // Removing the last widget leaves the host listening for new ones.
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows the vorlie desktop widgets."));
    parser.addHelpOption();
    const QCommandLineOption pluginOption(QStringLiteral("plugin"), QStringLiteral("The widget extension to load."),
                                          QStringLiteral("path"));
    const QCommandLineOption preferencesOption(QStringLiteral("preferences"),
                                               QStringLiteral("The host's preference file."), QStringLiteral("path"));
    parser.addOptions({pluginOption, preferencesOption});
    parser.process(app);

    // One host per session: a second one would draw every widget twice.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && !bus.registerService(QStringLiteral("com.vorlia.app.WidgetHost"))) {
        std::fprintf(stderr, "vorlie-widget-host: already running in this session\n");
        return 0;
    }

    QPluginLoader loader;
    vorlie::widgetkit::WidgetExtension *extension = loadExtension(loader, pluginCandidates(parser.value(pluginOption)));
    if (!extension) {
        std::fprintf(stderr, "vorlie-widget-host: no widget extension found\n");
        return 1;
    }
    const QString preferences = parser.isSet(preferencesOption) ? parser.value(preferencesOption)
                                                                : vorlie::HostPreferences::defaultPath();
    const std::unique_ptr<vorlie::wayland::LayerShell> layerShell = desktopLayer();
    vorlie::WidgetHost host(*extension, vorlie::HostPreferences(preferences), layerShell.get());
    if (!host.listenForReloads())
        std::fprintf(stderr, "vorlie-widget-host: no session bus: widgets redraw every 15 minutes only\n");
    host.start();
    return QApplication::exec();
}
