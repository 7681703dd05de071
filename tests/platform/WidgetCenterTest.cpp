// Widget reload requests arrive on the session bus with the names the widget host listens to.
#include "WidgetCenter.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

using namespace vorlie;

namespace {

class Listener : public QObject {
    Q_OBJECT
public:
    QStringList received;
public slots:
    void all() { received << QStringLiteral("*"); }
    void kind(const QString &kind) { received << kind; }
};

} // namespace

TEST(WidgetCenter, ReloadRequestsReachAListenerOnTheSessionBus)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected()) << "run inside tools/test.sh's private session bus";
    Listener listener;
    const QString path = QString::fromLatin1(WidgetCenter::objectPath);
    const QString interface = QString::fromLatin1(WidgetCenter::interfaceName);
    // Other test processes on this bus send reload requests too; only ours count.
    const QString self = bus.baseService();
    ASSERT_TRUE(bus.connect(self, path, interface, QString::fromLatin1(WidgetCenter::reloadAllSignal), &listener, SLOT(all())));
    ASSERT_TRUE(bus.connect(self, path, interface, QString::fromLatin1(WidgetCenter::reloadKindSignal), &listener, SLOT(kind(QString))));

    // A round trip to the bus daemon, so the match rules are in place before anything is sent.
    ASSERT_TRUE(bus.interface()->isServiceRegistered(bus.baseService()).value());

    WidgetCenter center;
    center.reloadAllTimelines();
    center.reloadTimelines(QStringLiteral("MainPersonWidget"));
    // The signals come back through the bus daemon, from Qt's D-Bus thread.
    EXPECT_TRUE(QTest::qWaitFor([&listener] { return listener.received.size() >= 2; }, 5000));
    // Qt hands the two signals to their slots in no fixed order.
    QStringList received = listener.received;
    received.sort();
    EXPECT_EQ(received, (QStringList{QStringLiteral("*"), QStringLiteral("MainPersonWidget")}));
}

TEST(WidgetCenter, IsHarmlessWithoutASessionBus)
{
    if (!qEnvironmentVariableIsEmpty("VORLIE_NO_BUS_PROBE")) {
        WidgetCenter center;
        center.reloadAllTimelines();
        center.reloadTimelines(QStringLiteral("x"));
        return;
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VORLIE_NO_BUS_PROBE"), QStringLiteral("1"));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent/vorlie-bus"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=WidgetCenter.IsHarmlessWithoutASessionBus")});
    ASSERT_TRUE(child.waitForFinished(20'000)) << "a reload request hung without a bus";
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
    EXPECT_LT(clock.elapsed(), 10'000);
}

#include "WidgetCenterTest.moc"
