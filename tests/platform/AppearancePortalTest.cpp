// The desktop's light or dark and motion settings, read from a stand-in
// settings portal on the private session bus.
#include "AppearancePortal.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusVariant>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace vorlie;

namespace {

const QString portalName = QStringLiteral("org.freedesktop.portal.Desktop");

// Answers Read as the portal does, on a connection of its own: each value
// wrapped in one variant more than the method's own, an error for a setting
// it does not have.
class SettingsPortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    explicit SettingsPortal(QVariantMap settings) // "namespace/key" → value
        : m_values(std::move(settings))
        , m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("settings-portal")))
    {
    }
    ~SettingsPortal() override
    {
        m_bus.unregisterService(portalName);
        QDBusConnection::disconnectFromBus(m_bus.name());
    }
    bool open()
    {
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop");
        return m_bus.registerObject(path, this, QDBusConnection::ExportAllSlots) && m_bus.registerService(portalName);
    }

public slots:
    QDBusVariant Read(const QString &nameSpace, const QString &key)
    {
        const QVariant value = m_values.value(nameSpace + u'/' + key);
        if (!value.isValid())
            sendErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"), QStringLiteral("no such setting"));
        return QDBusVariant(QVariant::fromValue(QDBusVariant(value.isValid() ? value : QVariant(0))));
    }

private:
    QVariantMap m_values;
    QDBusConnection m_bus;
};

struct Answer {
    const char *what;
    QVariant colorScheme;
    QVariant animations;
    int schemeRead;
    QList<bool> reduceMotionRead;
};

} // namespace

TEST(AppearancePortal, ReadsWhatThePortalAnswersAndRefusesWhatItCannotMean)
{
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run inside tools/test.sh's private session bus";
    const QList<Answer> answers{
        {"dark, animations on", QVariant(1u), QVariant(true), 1, {false}},
        {"light, animations off", QVariant(2u), QVariant(false), 2, {true}},
        {"no preference", QVariant(0u), QVariant(true), 0, {false}},
        {"a scheme the portal does not define", QVariant(7u), QVariant(true), 0, {false}},
        {"a scheme that is no number, animations that are no switch", QVariant(QStringLiteral("dark")),
         QVariant(QStringLiteral("off")), 0, {}},
    };
    for (const Answer &answer : answers) {
        SCOPED_TRACE(answer.what);
        SettingsPortal portal({{QStringLiteral("org.freedesktop.appearance/color-scheme"), answer.colorScheme},
                               {QStringLiteral("org.gnome.desktop.interface/enable-animations"), answer.animations}});
        ASSERT_TRUE(portal.open());
        AppearancePortal reader;
        QSignalSpy schemes(&reader, &AppearancePortal::colorSchemeRead);
        QSignalSpy motion(&reader, &AppearancePortal::reduceMotionRead);
        reader.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !schemes.isEmpty(); }, 5000));
        EXPECT_EQ(schemes.constFirst().constFirst().toInt(), answer.schemeRead);
        if (!answer.reduceMotionRead.isEmpty()) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return motion.size() == 1; }, 5000));
        }
        QList<bool> reduce;
        for (const QList<QVariant> &arguments : std::as_const(motion))
            reduce << arguments.constFirst().toBool();
        EXPECT_EQ(reduce, answer.reduceMotionRead);
    }
}

#include "AppearancePortalTest.moc"
