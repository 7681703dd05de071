// The baseline of the idle benchmarks: a bare QApplication, the Widgets
// application the program needs for its tray, with no window. It says
// "ready" once its event loop runs and then waits, so whatever it costs
// while idle is what Qt itself costs.
#include <QApplication>
#include <QTimer>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QTimer::singleShot(0, &app, [] {
        std::printf("ready\n");
        std::fflush(stdout);
    });
    return QApplication::exec();
}
