#pragma once

#include <QDBusVariant>
#include <QObject>
#include <QVariant>

namespace vorlie {

// What the desktop says about light or dark and about motion: read from the
// freedesktop settings portal when one is on the session bus, and followed
// live through its SettingChanged signal. VORLIE_REDUCE_MOTION=1 asks for
// stillness where no portal says so.
class AppearancePortal : public QObject {
    Q_OBJECT

public:
    explicit AppearancePortal(QObject *parent = nullptr);

    // Asks for both settings; the answers arrive as signals, never blocking.
    void start();

signals:
    // The portal's numbering: 0 no preference, 1 dark, 2 light.
    void colorSchemeRead(int scheme);
    void reduceMotionRead(bool reduce);

private slots:
    void onSettingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value);

private:
    void readSetting(const QString &nameSpace, const QString &key);
    void apply(const QString &nameSpace, const QString &key, const QVariant &value);
};

} // namespace vorlie
