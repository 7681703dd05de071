// The status picker and its presenter over the real service client while
// its catalogue is slow, fails or never answers: the loading state first,
// never empty sections, then the service's chips or the built-in ones.
#include "ScreenServices.h"
#include "StatusPickerPresenter.h"
#include "UiRoot.h"
#include "domain/StatusCatalog.h"
#include "support/AppStackFixture.h"
#include "views/ViewChecks.h"
#include "views/ViewWorld.h"

#include <QAccessible>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::testing;

namespace {

const QUrl pickerView(QStringLiteral("qrc:/Vorlie/Picker/MacStatusPickerView.qml"));

fake::ScriptedReply never()
{
    fake::ScriptedReply r;
    r.behaviour = fake::ScriptedReply::Behaviour::hang;
    return r;
}

} // namespace

class PickerCatalogueTest : public AppStackFixture {
protected:
    void SetUp() override
    {
        QAccessible::setActive(true);
        ui.appearance().setReduceMotion(true);
        signIn();
    }

    // Items on screen whose accessible role and name match; any name for an empty one.
    int shownWith(QAccessible::Role role, const QString &name = {}) const
    {
        int count = 0;
        forEachItem(picker->parentItem(), [&](QQuickItem *item) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(item);
            count += shownOnScreen(item) && iface && iface->role() == role
                    && (name.isEmpty() || iface->text(QAccessible::Name) == name);
        });
        return count;
    }
    bool loadingShown() const { return shownWith(QAccessible::Indicator) > 0; }
    bool sectionShown(const char *titleKey) const { return shownWith(QAccessible::Heading, qtTrId(titleKey)) > 0; }
    bool chipShown(const QString &key) const
    {
        return shownWith(QAccessible::Button, BuiltInStatusCatalog::localizedText(key)) > 0;
    }

    ScreenServices services{prefsDir.path(), *store, host.rootUrl()};
    UiRoot ui{services.parts};
    std::unique_ptr<QQuickWindow> window;
    std::unique_ptr<QQuickItem> picker; // goes before the window that shows it
};

TEST_F(PickerCatalogueTest, ASlowCatalogueShowsTheLoadingStateThenItsChipsOrTheBuiltInOnes)
{
    const struct {
        const char *name;
        fake::ScriptedReply catalogue;
        AppLanguage language;
        Appearance::ColorScheme scheme;
        bool builtIn; // the built-in catalogue in place of the service's
        QString error; // the line under the picker once the chips are there (read in the case's language)
    } cases[] = {
        {"slow", delayedServiceAnswer(500ms), AppLanguage::english, Appearance::ColorScheme::light, false, {}},
        {"failing", reply(503, errorEnvelope("MAINTENANCE", "Back soon"), 500ms), AppLanguage::german,
         Appearance::ColorScheme::dark, true, QStringLiteral("Back soon")},
        {"silent", never(), AppLanguage::english, Appearance::ColorScheme::dark, true, qtTrId("api_error.timeout")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        services.languages.setSelection(c.language);
        ui.appearance().setColorScheme(c.scheme);
        service().scriptAlways("GET", QStringLiteral("status/catalog"), c.catalogue);
        picker.reset(qobject_cast<QQuickItem *>(ui.create(pickerView)));
        ASSERT_TRUE(picker);
        auto *presenter = picker->findChild<StatusPickerPresenter *>();
        ASSERT_TRUE(presenter);
        QSignalSpy loading(presenter, &StatusPickerPresenter::isLoadingChanged);
        QSignalSpy inserted(presenter->sections(), &StatusSectionList::rowsInserted);
        window = ViewWorld::show(picker.get());

        EXPECT_TRUE(presenter->isLoading());
        EXPECT_EQ(presenter->sections()->rowCount(), 0);
        EXPECT_TRUE(loadingShown());
        EXPECT_FALSE(sectionShown("status_picker.mood")) << "an empty section while the catalogue loads";
        EXPECT_FALSE(chipShown(QStringLiteral("tired")));
        const int loadingHeight = window->height();

        ASSERT_TRUE(ViewWorld::spinUntil([&] { return chipShown(QStringLiteral("tired")); }));
        EXPECT_FALSE(loadingShown());
        for (const char *section : {"status_picker.mood", "status_picker.activity", "status_picker.location",
                                    "status_picker.relationship"})
            EXPECT_TRUE(sectionShown(section)) << section;
        // The service's catalogue carries this account's favourites; the built-in one none.
        EXPECT_EQ(sectionShown("status_picker.favorites"), !c.builtIn);
        if (c.builtIn) {
            for (const BuiltInStatusCatalog::Entry &entry : BuiltInStatusCatalog::entries())
                EXPECT_EQ(shownWith(QAccessible::Button, BuiltInStatusCatalog::localizedText(entry.key)), 1)
                    << entry.key.toStdString();
        }
        EXPECT_EQ(presenter->errorMessage(), c.error);
        EXPECT_TRUE(c.error.isEmpty() || showsText(picker->parentItem(), c.error)) << c.error.toStdString();
        EXPECT_EQ(loading.count(), 1);
        // Four categories, after the favourites when the service's; each row told on its own.
        EXPECT_EQ(presenter->sections()->rowCount(), c.builtIn ? 4 : 5);
        EXPECT_EQ(inserted.count(), presenter->sections()->rowCount());
        EXPECT_TRUE(ViewWorld::spinUntil([&] { return window->height() > loadingHeight; })) << "not grown to its chips";
        service().clearScripts();
    }
}
