#include "ThemeColor.h"

#include "Appearance.h"
#include "EngineObjects.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>

namespace vorlie {
namespace {

bool paletteIsDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

} // namespace

ThemeColor::ThemeColor(Appearance &appearance, QObject *parent)
    : QObject(parent)
    , m_appearance(appearance)
{
    connect(&appearance, &Appearance::colorSchemeChanged, this, &ThemeColor::update);
    // Palette changes reach QObjects only through the application's events.
    QCoreApplication::instance()->installEventFilter(this);
    update();
}

ThemeColor *ThemeColor::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    if (ThemeColor *provided = providedSingleton<ThemeColor>(qmlEngine))
        return provided;
    auto *appearance = new Appearance(qmlEngine);
    return new ThemeColor(*appearance, appearance);
}

QColor ThemeColor::fromHex(QStringView sixDigits)
{
    bool ok = false;
    const uint v = sixDigits.toUInt(&ok, 16);
    if (!ok || sixDigits.size() != 6)
        return {};
    return QColor::fromRgbF(float((v >> 16) & 255) / 255.0f, float((v >> 8) & 255) / 255.0f,
                            float(v & 255) / 255.0f, 1.0f);
}

bool ThemeColor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ApplicationPaletteChange && watched == QCoreApplication::instance())
        update();
    return false;
}

void ThemeColor::update()
{
    const QPalette palette = QGuiApplication::palette();
    const bool paletteDark = paletteIsDark(palette);
    bool dark = paletteDark;
    switch (m_appearance.colorScheme()) {
    case Appearance::ColorScheme::dark:
        dark = true;
        break;
    case Appearance::ColorScheme::light:
        dark = false;
        break;
    case Appearance::ColorScheme::noPreference:
        break;
    }
    const bool usePalette = dark == paletteDark;
    if (dark == m_dark && usePalette == m_usePalette && palette == m_palette)
        return;
    m_dark = dark;
    m_usePalette = usePalette;
    m_palette = palette;
    emit changed();
}

// The application's own accent: a warm rose that white text reads on.
QColor ThemeColor::accent() const { return pick(fromHex(u"C9445E"), fromHex(u"E0637A")); }
QColor ThemeColor::accentContrast() const { return Qt::white; }
QColor ThemeColor::brandDark() const { return fromHex(u"24332A"); }
QColor ThemeColor::brandText() const { return pick(brandDark(), fromHex(u"B4CBBD")); }

QColor ThemeColor::primaryText() const
{
    return m_usePalette ? m_palette.color(QPalette::WindowText) : pick(fromHex(u"1D2420"), fromHex(u"ECEFED"));
}

QColor ThemeColor::secondaryText() const
{
    if (!m_usePalette)
        return pick(fromHex(u"66706B"), fromHex(u"9DA6A1"));
    // Between text and background, like a secondary label: legible, clearly quieter.
    QColor text = m_palette.color(QPalette::WindowText);
    const QColor window = m_palette.color(QPalette::Window);
    return QColor::fromRgbF(0.58f * text.redF() + 0.42f * window.redF(), 0.58f * text.greenF() + 0.42f * window.greenF(),
                            0.58f * text.blueF() + 0.42f * window.blueF());
}

QColor ThemeColor::windowBackground() const
{
    return m_usePalette ? m_palette.color(QPalette::Window) : pick(fromHex(u"F6F5F2"), fromHex(u"1C211F"));
}

QColor ThemeColor::cardBackground() const
{
    return m_usePalette ? m_palette.color(QPalette::Base) : pick(fromHex(u"FFFFFF"), fromHex(u"2A302D"));
}

QColor ThemeColor::separator() const
{
    QColor line = primaryText();
    line.setAlphaF(0.14f);
    return line;
}

QColor ThemeColor::positive() const { return pick(fromHex(u"2E9B5A"), fromHex(u"4CC27A")); }
QColor ThemeColor::warning() const { return pick(fromHex(u"D9730D"), fromHex(u"FF9F2E")); }
QColor ThemeColor::pink() const { return pick(fromHex(u"E0457F"), fromHex(u"FF6FA6")); }
QColor ThemeColor::orange() const { return warning(); }
QColor ThemeColor::yellow() const { return pick(fromHex(u"E3A800"), fromHex(u"FFD02E")); }
QColor ThemeColor::blue() const { return pick(fromHex(u"2F7BE0"), fromHex(u"5AA2FF")); }

} // namespace vorlie
