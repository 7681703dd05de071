#pragma once

#include <QObject>

namespace vorlie {

class AppearancePortal;

// Light or dark, and whether to move: the values the theme draws from. They
// start from the defaults (no preference, motion on) and change through the
// setters, or follow what the desktop says.
class Appearance : public QObject {
    Q_OBJECT
    Q_PROPERTY(ColorScheme colorScheme READ colorScheme WRITE setColorScheme NOTIFY colorSchemeChanged)
    Q_PROPERTY(bool reduceMotion READ reduceMotion WRITE setReduceMotion NOTIFY reduceMotionChanged)

public:
    // The portal's own numbering: 0 no preference, 1 dark, 2 light.
    enum class ColorScheme { noPreference = 0, dark = 1, light = 2 };
    Q_ENUM(ColorScheme)

    explicit Appearance(QObject *parent = nullptr);

    ColorScheme colorScheme() const { return m_colorScheme; }
    bool reduceMotion() const { return m_reduceMotion; }
    void setColorScheme(ColorScheme scheme);
    void setReduceMotion(bool reduce);

    // Takes every value the desktop's portal reads from now on.
    void follow(const AppearancePortal &portal);

signals:
    void colorSchemeChanged();
    void reduceMotionChanged();

private:
    ColorScheme m_colorScheme = ColorScheme::noPreference;
    bool m_reduceMotion = false;
};

} // namespace vorlie
