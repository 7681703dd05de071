#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

// Main of the suites that show windows, tray items or QML: a full
// QApplication (the tray icon needs Qt Widgets), and the same private XDG
// directories as every other suite.
int main(int argc, char **argv)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CACHE_HOME", home.filePath(QStringLiteral("cache")).toUtf8());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
