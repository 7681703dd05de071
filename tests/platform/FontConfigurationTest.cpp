// The font list the program reads ahead of its first window, against the
// machine's own fontconfig files and fonts.
#include "fonts/FontConfiguration.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <memory>

using namespace vorlie;

namespace {

// Every font file of a configuration; the current one when none is given.
QStringList fontFiles(FcConfig *config = nullptr)
{
    const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> everything(FcPatternCreate(), &FcPatternDestroy);
    const std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> file(FcObjectSetBuild(FC_FILE, nullptr),
                                                                           &FcObjectSetDestroy);
    const std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(
        FcFontList(config, everything.get(), file.get()), &FcFontSetDestroy);
    QStringList files;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcChar8 *path = nullptr;
        if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &path) == FcResultMatch)
            files << QString::fromUtf8(reinterpret_cast<const char *>(path));
    }
    return files;
}

bool isWebFont(const QString &file)
{
    return file.endsWith(QLatin1String(".woff")) || file.endsWith(QLatin1String(".woff2"));
}

} // namespace

TEST(FontConfiguration, TheFontListKeepsTheTrueTypeSymbolFontAndLeavesItsWebCopiesOut)
{
    const std::unique_ptr<FcConfig, decltype(&FcConfigDestroy)> plain(FcInitLoadConfigAndFonts(), &FcConfigDestroy);
    const QStringList before = fontFiles(plain.get());
    ASSERT_TRUE(std::any_of(before.cbegin(), before.cend(), isWebFont))
        << "install fonts-material-design-icons-iconfont: it ships WOFF2 copies beside its TrueType file";

    FontConfigurationLoad load;
    load.wait();
    const QStringList after = fontFiles();
    EXPECT_TRUE(std::none_of(after.cbegin(), after.cend(), isWebFont)) << after.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(after.contains(
        QStringLiteral("/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf")));
    // Everything else the machine has stays.
    QStringList kept = before;
    kept.removeIf(isWebFont);
    kept.sort();
    QStringList listed = after;
    listed.sort();
    EXPECT_EQ(listed, kept);
}
