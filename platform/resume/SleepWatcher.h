#pragma once

#include <QDBusConnection>
#include <QObject>

namespace vorlie {

// Tells when the machine has woken from suspend or hibernation: logind's
// PrepareForSleep(false) on the bus it is given, the system bus on a desktop.
// Where no logind speaks on that bus it never tells.
class SleepWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr const char *serviceName = "org.freedesktop.login1";
    static constexpr const char *objectPath = "/org/freedesktop/login1";
    static constexpr const char *interfaceName = "org.freedesktop.login1.Manager";
    static constexpr const char *signalName = "PrepareForSleep";

    explicit SleepWatcher(QDBusConnection bus, QObject *parent = nullptr);

signals:
    void woke();

private slots:
    void onPrepareForSleep(bool goingToSleep);

private:
    QDBusConnection m_bus;
};

} // namespace vorlie
