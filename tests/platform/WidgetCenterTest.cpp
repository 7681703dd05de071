// Widget reload requests arrive on the session bus with the names the widget host listens to.
#include "ChildOnBus.h"
#include "WidgetCenter.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
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

// The child half of the test below.
TEST(ChildProcess, WidgetCenterWithoutBus)
{
    WidgetCenter center;
    center.reloadAllTimelines();
    center.reloadTimelines(QStringLiteral("x"));
}

TEST(WidgetCenter, IsHarmlessWithoutASessionBus)
{
    const vorlie::testing::ChildRun run = vorlie::testing::runChildOnBus("WidgetCenterWithoutBus", QStringLiteral("unix:path=/nonexistent/vorlie-bus"));
    ASSERT_TRUE(run.finished) << "a reload request hung without a bus";
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_LT(run.elapsedMs, 10'000);
}

#include "WidgetCenterTest.moc"
