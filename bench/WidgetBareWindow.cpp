// The baseline of the widget host's memory: a bare Qt Quick window, the
// least any Qt Quick program on the desktop costs.
#include <QGuiApplication>
#include <QQmlApplicationEngine>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QQmlApplicationEngine engine;
    engine.loadData("import QtQuick\nWindow { visible: true; width: 364; height: 170; color: \"white\" }");
    return QGuiApplication::exec();
}
