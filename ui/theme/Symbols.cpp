#include "Symbols.h"

#include "EngineObjects.h"

namespace vorlie {
namespace {

struct SymbolGlyph {
    const char16_t *name;
    char32_t codePoint; // Material Icons
};

constexpr SymbolGlyph symbolGlyphs[] = {
    {u"heart.text.square.fill", 0xe87d}, // favorite
    {u"person.fill", 0xe7fd},            // person
    {u"star.fill", 0xe838},              // star
    {u"checkmark.circle.fill", 0xe86c},  // check_circle
    {u"arrow.up.circle.fill", 0xf182},   // arrow_circle_up
    {u"exclamationmark.triangle.fill", 0xe002}, // warning
    {u"gearshape.fill", 0xe8b8},         // settings
    {u"person.crop.circle.badge.plus", 0xe7fe},         // person_add
    {u"person.crop.circle.badge.questionmark", 0xf106}, // person_search
    {u"xmark", 0xe5cd},                  // close
    {u"power", 0xe8ac},                  // power_settings_new
    // Mood badges.
    {u"zzz", 0xef44},                  // bedtime
    {u"heart.fill", 0xe87d},           // favorite
    {u"bag.fill", 0xf1cc},             // shopping_bag
    {u"laptopcomputer", 0xe320},       // laptop_mac
    {u"bolt.fill", 0xea0b},            // bolt
    {u"sparkles", 0xe65f},             // auto_awesome
    {u"ellipsis.bubble.fill", 0xe625}, // sms
    {u"fork.knife", 0xe56c},           // restaurant
    {u"figure.run", 0xe566},           // directions_run
    {u"book.fill", 0xea19},            // menu_book
    {u"cloud.rain.fill", 0xe798},      // water_drop
};

} // namespace

Symbols *Symbols::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    if (Symbols *provided = providedSingleton<Symbols>(qmlEngine))
        return provided;
    return new Symbols(qmlEngine);
}

std::optional<char32_t> Symbols::codePoint(QStringView symbolName)
{
    for (const SymbolGlyph &entry : symbolGlyphs) {
        if (symbolName == QStringView(entry.name))
            return entry.codePoint;
    }
    return std::nullopt;
}

QStringList Symbols::names()
{
    QStringList all;
    for (const SymbolGlyph &entry : symbolGlyphs)
        all << QString::fromUtf16(entry.name);
    return all;
}

QString Symbols::glyph(const QString &symbolName)
{
    const std::optional<char32_t> point = codePoint(symbolName);
    return point ? QString::fromUcs4(&*point, 1) : QString();
}

} // namespace vorlie
