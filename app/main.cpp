#include "AppConfig.h"
#include "shell/VorlieMacApp.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vorlie"));
    QApplication::setOrganizationName(QStringLiteral("vorlia"));
    // Closing a window never ends the program: the menu-bar item and the refresh keep running.
    QApplication::setQuitOnLastWindowClosed(false);

    vorlie::VorlieMacApp vorlie(vorlie::VorlieMacApp::Options{vorlie::AppConfig::fromEnvironment()});
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &vorlie, [&vorlie] { vorlie.delegate().applicationWillTerminate(); });
    QCoro::connect(vorlie.start(), &vorlie, [] {});
    return QApplication::exec();
}
