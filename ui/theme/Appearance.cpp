#include "Appearance.h"

#include "AppearancePortal.h"

namespace vorlie {

Appearance::Appearance(QObject *parent)
    : QObject(parent)
{
}

void Appearance::setColorScheme(ColorScheme scheme)
{
    if (m_colorScheme == scheme)
        return;
    m_colorScheme = scheme;
    emit colorSchemeChanged();
}

void Appearance::setReduceMotion(bool reduce)
{
    if (m_reduceMotion == reduce)
        return;
    m_reduceMotion = reduce;
    emit reduceMotionChanged();
}

void Appearance::follow(const AppearancePortal &portal)
{
    connect(&portal, &AppearancePortal::colorSchemeRead, this,
            [this](int scheme) { setColorScheme(static_cast<ColorScheme>(scheme)); });
    connect(&portal, &AppearancePortal::reduceMotionRead, this, &Appearance::setReduceMotion);
}

} // namespace vorlie
