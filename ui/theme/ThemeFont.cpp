#include "ThemeFont.h"

#include "EngineObjects.h"

#include <QFontDatabase>

namespace vorlie {
namespace {

struct TextStyle {
    ThemeFont::Style style;
    int pixelSize;
    QFont::Weight weight;
};

// One table for every text style of the screens.
constexpr TextStyle textStyles[] = {
    {ThemeFont::Style::display, 34, QFont::Bold},
    {ThemeFont::Style::title, 19, QFont::DemiBold},
    {ThemeFont::Style::headline, 15, QFont::DemiBold},
    {ThemeFont::Style::subheadline, 13, QFont::Medium},
    {ThemeFont::Style::footnote, 12, QFont::Normal},
    {ThemeFont::Style::body, 14, QFont::Medium},
    {ThemeFont::Style::caption, 10, QFont::Normal},
};

} // namespace

ThemeFont::ThemeFont(QObject *parent)
    : QObject(parent)
{
    for (const TextStyle &entry : textStyles)
        m_fonts[int(entry.style)] = font(entry.style);
}

ThemeFont *ThemeFont::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    if (ThemeFont *provided = providedSingleton<ThemeFont>(qmlEngine))
        return provided;
    return new ThemeFont(qmlEngine);
}

QString ThemeFont::roundedFamily()
{
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const QString &candidate : {QStringLiteral("Quicksand"), QStringLiteral("Comfortaa")}) {
            if (installed.contains(candidate))
                return candidate;
        }
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return family;
}

QFont ThemeFont::font(Style style)
{
    QFont font;
    QStringList families{roundedFamily(), emojiFamily()};
    if (style == Style::display)
        families.prepend(QStringLiteral("Gadey"));
    font.setFamilies(families);
    for (const TextStyle &entry : textStyles) {
        if (entry.style == style) {
            font.setPixelSize(entry.pixelSize);
            font.setWeight(entry.weight);
        }
    }
    return font;
}

} // namespace vorlie
