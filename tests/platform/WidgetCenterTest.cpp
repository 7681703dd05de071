// A reload request for one kind of widget arrives on the session bus under the
// name the widget host listens to. Requests for all widgets travel the same
// way, and the application's and the host's own suites follow them there.
#include "WidgetCenter.h"

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
    void kind(const QString &kind) { received << kind; }
};

} // namespace

TEST(WidgetCenter, AReloadOfOneKindReachesAListenerOnTheSessionBus)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected()) << "run inside tools/test.sh's private session bus";
    Listener listener;
    // Other test processes on this bus send reload requests too; only ours count.
    ASSERT_TRUE(bus.connect(bus.baseService(), QString::fromLatin1(WidgetCenter::objectPath),
                            QString::fromLatin1(WidgetCenter::interfaceName), QString::fromLatin1(WidgetCenter::reloadKindSignal),
                            &listener, SLOT(kind(QString))));
    // A round trip to the bus daemon, so the match rule is in place before anything is sent.
    ASSERT_TRUE(bus.interface()->isServiceRegistered(bus.baseService()).value());

    WidgetCenter().reloadTimelines(QStringLiteral("MainPersonWidget"));
    // The signal comes back through the bus daemon, from Qt's D-Bus thread.
    EXPECT_TRUE(QTest::qWaitFor([&listener] { return !listener.received.isEmpty(); }, 5000));
    EXPECT_EQ(listener.received, QStringList{QStringLiteral("MainPersonWidget")});
}

#include "WidgetCenterTest.moc"
