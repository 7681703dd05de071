#include "AppConfig.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vorlie"));
    QApplication::setOrganizationName(QStringLiteral("vorlia"));
    QApplication::setQuitOnLastWindowClosed(false);
    const auto config = vorlie::AppConfig::fromEnvironment();
    Q_UNUSED(config);
    return QApplication::exec();
}
