#include "AppConfig.h"
#include "cli/Launch.h"
#include "fonts/FontConfiguration.h"
#include "graphics/RenderLoop.h"
#include "lifecycle/QuitOnTerminationSignals.h"
#include "shell/AppWindows.h"
#include "shell/VorlieMacApp.h"
#include "ViewEngine.h"
#include "single_instance/InstanceRequests.h"
#include "single_instance/SingleInstance.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Answered, or handed to the running instance, before the window system is
    // reached: this works on a bare terminal too, and quickly.
    vorlie::Launch launch(argc, argv);
    if (const std::optional<int> exitCode = launch.finishEarly())
        return *exitCode;

    vorlie::FontConfigurationLoad fonts;
    QApplication app(argc, argv);
    vorlie::applyProgramIdentity();
    // The first window's views compile on the engine's own thread from here
    // on, while the rest of the program is built.
    const vorlie::AppWindows::Options windowOptions{launch.commandLine().background};
    auto views = std::make_unique<vorlie::ViewEngine>();
    if (const std::optional<QUrl> firstView = vorlie::AppWindows::viewShownAtStart(windowOptions))
        views->compileAhead(*firstView);
    vorlie::avoidThreadedSoftwareRendering();
    // Closing a window never ends the program: the menu-bar item and the refresh keep running.
    QApplication::setQuitOnLastWindowClosed(false);
    const vorlie::QuitOnTerminationSignals quitOnSignals;

    vorlie::InstanceRequests instanceRequests;
    vorlie::SingleInstance singleInstance(instanceRequests);
    launch.becomeRunningInstance(singleInstance, instanceRequests);

    vorlie::VorlieMacApp vorlie(vorlie::VorlieMacApp::Options{vorlie::AppConfig::fromEnvironment()});
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &vorlie, [&vorlie] { vorlie.delegate().applicationWillTerminate(); });
    fonts.wait();
    vorlie::AppWindows windows(vorlie, windowOptions, std::move(views));
    QObject::connect(&instanceRequests, &vorlie::InstanceRequests::activateRequested, &windows,
                     &vorlie::AppWindows::showMainWindow);
    QObject::connect(&instanceRequests, &vorlie::InstanceRequests::homeRequested, &windows, &vorlie::AppWindows::showHome);
    QObject::connect(&instanceRequests, &vorlie::InstanceRequests::statusPickerRequested, &windows,
                     &vorlie::AppWindows::showStatusPicker);
    QObject::connect(&windows, &vorlie::AppWindows::startupShown, &vorlie,
                     [&vorlie] { QCoro::connect(vorlie.start(), &vorlie, [] {}); });
    return QApplication::exec();
}
