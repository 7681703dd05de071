#include "Symbols.h"
#include "ThemeColor.h"
#include "ThemeFont.h"
#include "domain/StatusVisualState.h"
#include "domain/WireEnum.h"

#include <QDirIterator>
#include <QFile>
#include <QFontInfo>
#include <QRawFont>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace vorlie::testing {
namespace {

// Every symbol name written in a view (name:, symbol:, systemImage:) or
// passed to the glyph table from C++.
QStringList symbolNamesInSources()
{
    static const QRegularExpression qmlUse(QStringLiteral(R"re(\b(?:name|symbol|systemImage)\s*:\s*"([a-z][a-z0-9.]*)")re"));
    static const QRegularExpression cppUse(QStringLiteral(R"re((?:glyph|codePoint)\(\s*u?(?:QStringLiteral\()?u?"([a-z][a-z0-9.]*)")re"));
    QStringList names;
    for (const char *root : {"app", "widgets", "platform"}) {
        QDirIterator files(QStringLiteral(VORLIE_SOURCE_DIR "/") + QLatin1String(root),
                           {QStringLiteral("*.qml"), QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QString text = QString::fromUtf8(file.readAll());
            const QRegularExpression &pattern = file.fileName().endsWith(".qml") ? qmlUse : cppUse;
            for (const QRegularExpressionMatch &match : pattern.globalMatch(text))
                names << match.captured(1);
        }
    }
    names.removeDuplicates();
    return names;
}

// Every name the code uses is in the table, and every name of the table has
// a glyph in the icon font.
TEST(SymbolGlyphTest, EverySymbolTheCodeNamesHasAGlyphInTheIconFont)
{
    const QRawFont font = QRawFont::fromFont(QFont(Symbols::family()));
    ASSERT_EQ(font.familyName(), Symbols::family()) << "install fonts-material-design-icons-iconfont";
    QStringList used = symbolNamesInSources();
    ASSERT_TRUE(used.contains("checkmark.circle.fill")) << "the source scan found nothing";
    for (StatusVisualState state : allCases<StatusVisualState>()) {
        if (const auto symbol = badgeSymbol(state))
            used << *symbol;
    }
    for (const QString &name : used + Symbols::names()) {
        const std::optional<char32_t> point = Symbols::codePoint(name);
        EXPECT_TRUE(point && font.supportsCharacter(*point)) << name.toStdString() << " has no glyph";
    }
    EXPECT_TRUE(Symbols::glyph(QStringLiteral("no.such.symbol")).isEmpty());
}

TEST(ThemeTest, BrandColourAndFontsAreTheOnesAsked)
{
    EXPECT_EQ(ThemeColor::fromHex(u"24332A"), QColor(0x24, 0x33, 0x2a));
    EXPECT_FALSE(ThemeColor::fromHex(u"24332").isValid());
    EXPECT_FALSE(ThemeColor::fromHex(u"zz332A").isValid());
    EXPECT_EQ(QFontInfo(ThemeFont::font(ThemeFont::Style::body)).family(), ThemeFont::roundedFamily());
    EXPECT_NE(ThemeFont::roundedFamily(), QString()) << "install fonts-quicksand";
    // Without "Gadey" the display style falls back to the rounded face.
    EXPECT_EQ(QFontInfo(ThemeFont::font(ThemeFont::Style::display)).family(), ThemeFont::roundedFamily());
}

} // namespace
} // namespace vorlie::testing
