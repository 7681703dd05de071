#pragma once

#include <QDBusVariant>
#include <QObject>
#include <QVariant>

namespace vorlie {

// What the desktop says about light or dark and about motion. Read from the
// freedesktop settings portal when one is on the session bus, and followed
// live through its SettingChanged signal; without a portal the Qt palette
// decides light or dark and VORLIE_REDUCE_MOTION=1 turns animations off.
class Appearance : public QObject {
    Q_OBJECT
    Q_PROPERTY(ColorScheme colorScheme READ colorScheme WRITE setColorScheme NOTIFY colorSchemeChanged)
    Q_PROPERTY(bool reduceMotion READ reduceMotion WRITE setReduceMotion NOTIFY reduceMotionChanged)

public:
    // The portal's own numbering: 0 no preference, 1 dark, 2 light.
    enum class ColorScheme { noPreference = 0, dark = 1, light = 2 };
    Q_ENUM(ColorScheme)

    enum class Source { desktop, fixed };

    // `desktop` reads and follows the portal; `fixed` starts from the
    // defaults and changes only through the setters (tests, screenshots).
    explicit Appearance(Source source = Source::desktop, QObject *parent = nullptr);

    ColorScheme colorScheme() const { return m_colorScheme; }
    bool reduceMotion() const { return m_reduceMotion; }
    void setColorScheme(ColorScheme scheme);
    void setReduceMotion(bool reduce);

signals:
    void colorSchemeChanged();
    void reduceMotionChanged();

private slots:
    void onSettingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value);

private:
    void readSetting(const QString &nameSpace, const QString &key);
    void apply(const QString &nameSpace, const QString &key, const QVariant &value);

    ColorScheme m_colorScheme = ColorScheme::noPreference;
    bool m_reduceMotion = false;
};

} // namespace vorlie
