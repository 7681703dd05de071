// The interface language: stored choice, run-time switch of the text tables
// and the observable language setting of the shell.
#include "PrefsFixture.h"
#include "api/APIError.h"
#include "domain/StatusCatalog.h"
#include "i18n/TextLookup.h"
#include "prefs/AppLanguage.h"
#include "prefs/LanguageSettings.h"
#include "prefs/SharedDefaults.h"

#include <QSignalSpy>

using namespace vorlie;

namespace {

class Language : public PrefsFixture {
protected:
    QStringList systemLanguages{QStringLiteral("fr-FR")};
    TextLookup lookup{[this] { return systemLanguages; }};
};

} // namespace

TEST_F(Language, StoredTextsMapToTheThreeChoicesAndAnythingElseIsDevice)
{
    const SharedDefaults defaults(paths());
    EXPECT_EQ(readStoredLanguage(defaults), AppLanguage::device);
    for (const auto &[text, language] : std::vector<std::pair<QString, AppLanguage>>{
             {"de", AppLanguage::german}, {"en", AppLanguage::english}, {"device", AppLanguage::device}, {"fr", AppLanguage::device}, {"DE", AppLanguage::device}}) {
        ASSERT_TRUE(defaults.setText(QStringLiteral("appLanguage"), text));
        EXPECT_EQ(readStoredLanguage(defaults), language) << text.toStdString();
    }
    EXPECT_EQ(localeCode(AppLanguage::german), QStringLiteral("de"));
    EXPECT_EQ(formattingLocale(AppLanguage::german).language(), QLocale::German);
}

TEST_F(Language, TextsSwitchAtRunTimeAndDeviceFollowsTheSystem)
{
    lookup.apply(AppLanguage::german);
    const QString german = APIError::offline().userMessage();
    lookup.apply(AppLanguage::english);
    const QString english = APIError::offline().userMessage();
    EXPECT_NE(german, english);
    EXPECT_NE(german, QStringLiteral("api_error.offline"));
    EXPECT_NE(english, QStringLiteral("api_error.offline"));

    lookup.apply(AppLanguage::device); // a French system has no table: English, never raw ids
    EXPECT_EQ(APIError::offline().userMessage(), english);
    systemLanguages = {QStringLiteral("fr-FR"), QStringLiteral("de-AT")};
    lookup.apply(AppLanguage::device);
    EXPECT_EQ(APIError::offline().userMessage(), german);

    for (const char *key : {"api_error.generic", "api_error.timeout", "api_error.unauthorized", "api_error.rate_limited"})
        EXPECT_NE(qtTrId(key), QString::fromLatin1(key)) << key;
}

TEST_F(Language, SettingsChangeWritesAppliesReloadsAndNotifiesOnlyOnARealChange)
{
    const SharedDefaults defaults(paths());
    int reloads = 0;
    LanguageSettings settings(defaults, lookup, [&reloads] { ++reloads; });
    QSignalSpy changed(&settings, &LanguageSettings::selectionChanged);
    EXPECT_EQ(settings.selection(), AppLanguage::device);

    settings.setSelection(AppLanguage::device);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(reloads, 0);
    EXPECT_FALSE(defaults.text(QStringLiteral("appLanguage")).has_value()) << "nothing is written for no change";

    settings.setSelection(AppLanguage::german);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(defaults.text(QStringLiteral("appLanguage")), QStringLiteral("de"));
    EXPECT_EQ(lookup.tableCode(), QStringLiteral("de"));

    LanguageSettings restarted(defaults, lookup, [] {});
    EXPECT_EQ(restarted.selection(), AppLanguage::german);
}

TEST_F(Language, EveryBuiltInStatusHasARealTextInBothTables)
{
    for (const AppLanguage language : {AppLanguage::german, AppLanguage::english}) {
        lookup.apply(language);
        for (const BuiltInStatusCatalog::Entry &entry : BuiltInStatusCatalog::entries()) {
            const QString text = qtTrId(entry.localizationKey.toUtf8().constData());
            EXPECT_FALSE(text.isEmpty() || text == entry.localizationKey) << entry.localizationKey.toStdString();
        }
        EXPECT_NE(qtTrId("status.updated_yesterday"), QStringLiteral("status.updated_yesterday"));
    }
    lookup.apply(AppLanguage::german);
    EXPECT_EQ(BuiltInStatusCatalog::localizedText(QStringLiteral("tired")), QStringLiteral("Müde"));
}
