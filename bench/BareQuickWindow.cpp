// The baseline of the start-up benchmarks: a bare Qt Quick window, made the
// way the program makes its windows (a QML engine and one component), that
// says "first frame" once it is drawn and then waits with it closed, like
// the program with VORLIE_BENCH_SHOW.
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick\nWindow { width: 280; height: 300; Rectangle { anchors.fill: parent; color: \"#f6f5f2\" } }",
                      QUrl());
    std::unique_ptr<QQuickWindow> window(qobject_cast<QQuickWindow *>(component.create()));
    if (!window)
        return 1;
    QObject::connect(window.get(), &QQuickWindow::frameSwapped, window.get(), [&window] {
        std::printf("first frame\n");
        std::fflush(stdout);
        window->close();
    }, Qt::SingleShotConnection);
    window->show();
    return QGuiApplication::exec();
}
