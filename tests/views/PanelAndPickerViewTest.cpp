#include "ViewChecks.h"
#include "ViewWorld.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QQmlProperty>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace vorlie::testing {
namespace {

const QUrl panelView(QStringLiteral("qrc:/Vorlie/Panel/MenuBarContentView.qml"));
const QUrl pickerView(QStringLiteral("qrc:/Vorlie/Picker/MacStatusPickerView.qml"));

// A view in its own window, shown once its pictures have arrived.
struct Shown {
    Shown(ViewWorld &world, const QUrl &url)
        : item(qobject_cast<QQuickItem *>(world.ui.create(url)))
    {
        EXPECT_NE(item, nullptr) << url.toString().toStdString();
        if (!item)
            return;
        window = world.show(item.get());
        awaitPictures(item.get());
    }

    QQuickItem *find(const std::function<bool(QQuickItem *)> &match) { return shownItems(item.get(), match).value(0); }
    QQuickItem *buttonNamed(const QString &name) { return shownWith(item.get(), QAccessible::Button, name).value(0); }

    // The window owns nothing: declared first, it goes after the item.
    std::unique_ptr<QQuickWindow> window;
    std::unique_ptr<QQuickItem> item;
};

SyncSnapshot hostileSnapshot()
{
    SyncSnapshot snapshot = sample::data().snapshot;
    snapshot.mainPerson->person.displayName =
        QStringLiteral("<b>Quil</b> <a href=\"https://evil.example\">with a name far too long for any panel</a> 👨‍👩‍👧‍👦");
    snapshot.mainPersonStatus->statusKey = QStringLiteral("custom");
    snapshot.mainPersonStatus->text = QStringLiteral("<img src=x onerror=alert(1)> feeling <i>great</i> today, really great");
    snapshot.ownStatus->statusKey = QStringLiteral("custom");
    snapshot.ownStatus->text = QStringLiteral("<h1>big</h1>");
    return snapshot;
}

TEST(PanelViewTest, RendersSignedInInBothLanguagesAndBothAppearancesAndGrowsAnOfflineLine)
{
    for (const AppLanguage language : {AppLanguage::english, AppLanguage::german}) {
        for (const bool dark : {false, true}) {
            const QString variant = storedText(language) + (dark ? QStringLiteral("-dark") : QStringLiteral("-light"));
            SCOPED_TRACE(variant.toStdString());
            ViewWorld world(language, dark ? Appearance::ColorScheme::dark : Appearance::ColorScheme::light);
            world.signIn();
            Shown panel(world, panelView);
            ASSERT_TRUE(panel.item);
            saveScreenshot(*panel.window, QStringLiteral("panel-") + variant);
            EXPECT_EQ(accessibilityFaults(*panel.window), QStringList());
            const qreal heightOnline = panel.item->implicitHeight();
            world.sync.failure = APIError::offline();
            resultOf(world.store.refresh());
            ASSERT_TRUE(ViewWorld::spinUntil([&] { return panel.window->height() > heightOnline; })) << "the line adds to the panel";
            QQuickItem *offline = panel.find([](QQuickItem *i) { return i->objectName() == "offlineLine"; });
            ASSERT_TRUE(offline);
            EXPECT_TRUE(offline->property("text").toString().startsWith("Offline · ")) << offline->property("text").toString().toStdString();
            EXPECT_EQ(accessibilityFaults(*panel.window), QStringList());
        }
    }
}

// Signed out and without a main person only the empty texts; then what the
// service sends is plain text in the panel's width, and the keyboard reaches
// every action in reading order.
TEST(PanelViewTest, ShowsOnlyTheEmptyTextsWithoutSomeoneThenServiceTextPlainEveryActionByKeyboardAndATwoSecondToast)
{
    ViewWorld world;
    const auto picture = [](QQuickItem *i) { return i->inherits("vorlie::RoundImage"); };
    Shown signedOut(world, panelView);
    EXPECT_NE(signedOut.find([](QQuickItem *i) { return i->property("text").toString() == "Connect with someone to see their status here."; }), nullptr);
    EXPECT_EQ(signedOut.find(picture), nullptr);
    SyncSnapshot noMainPerson = sample::data().snapshot;
    noMainPerson.mainPerson.reset();
    noMainPerson.mainPersonStatus.reset();
    world.signIn(noMainPerson);
    EXPECT_EQ(Shown(world, panelView).find(picture), nullptr);

    world.signIn(hostileSnapshot());
    Shown panel(world, panelView);
    EXPECT_NE(panel.find(picture), nullptr);
    EXPECT_TRUE(markupRenderingTexts(panel.item.get()).isEmpty()) << markupRenderingTexts(panel.item.get()).join(" | ").toStdString();
    EXPECT_EQ(panel.window->width(), 280);
    forEachItem(panel.item.get(), [&](QQuickItem *item) {
        if (shownOnScreen(item) && item->inherits("QQuickText")) {
            const QRectF box = item->mapRectToItem(panel.item.get(), QRectF(0, 0, item->width(), item->height()));
            EXPECT_LE(box.right(), 280.5) << item->property("text").toString().toStdString();
        }
    });

    panel.window->requestActivate();
    panel.item->forceActiveFocus();
    QSignalSpy picker(panel.item.get(), SIGNAL(statusPickerRequested()));
    QSignalSpy settings(panel.item.get(), SIGNAL(settingsRequested()));
    QSignalSpy quit(panel.item.get(), SIGNAL(quitRequested()));
    QStringList order;
    for (int i = 0; i < 4; ++i) {
        order << accessibleName(panel.window->activeFocusItem());
        QTest::keyClick(panel.window.get(), Qt::Key_Tab);
    }
    EXPECT_EQ(order, (QStringList{"Change my status", "Open vorlie", "Settings…", "Quit"}));
    QTest::keyClick(panel.window.get(), Qt::Key_Return); // back on "Change my status"
    EXPECT_EQ(picker.count(), 1);
    QTest::keyClick(panel.window.get(), Qt::Key_Backtab);
    QTest::keyClick(panel.window.get(), Qt::Key_Space);
    EXPECT_EQ(quit.count(), 1);
    QTest::keyClick(panel.window.get(), Qt::Key_Backtab);
    QTest::keyClick(panel.window.get(), Qt::Key_Return);
    EXPECT_EQ(settings.count(), 1);

    // The saved toast: gone two seconds after the first save, however many follow.
    QQuickItem *toastItem = panel.find([](QQuickItem *i) { return QQmlProperty(i, "systemImage").isValid(); });
    ASSERT_NE(toastItem, nullptr);

    QElapsedTimer sinceFirst;
    sinceFirst.start();
    QMetaObject::invokeMethod(panel.item.get(), "showSavedToast");
    EXPECT_TRUE(toastItem->property("isPresented").toBool());
    QTest::qWait(1200); // the second save comes while the first is up
    QMetaObject::invokeMethod(panel.item.get(), "showSavedToast");
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return !toastItem->property("isPresented").toBool(); }));
    EXPECT_LT(sinceFirst.elapsed(), 2600) << "the second save restarted the two seconds";

    QMetaObject::invokeMethod(panel.item.get(), "showSavedToast");
    panel.window->hide();
    EXPECT_FALSE(toastItem->property("isPresented").toBool());
}

// The focus ring marks where the keyboard is, not where the pointer
// pressed; a screen reader's press action clicks as a key does.
TEST(PanelViewTest, AButtonRingsOnlyForKeyboardFocusAndAScreenReaderCanPressIt)
{
    ViewWorld world;
    world.signIn();
    Shown panel(world, panelView);
    ASSERT_TRUE(panel.item);
    panel.window->requestActivate();
    panel.item->forceActiveFocus();
    QQuickItem *open = panel.buttonNamed(QStringLiteral("Open vorlie"));
    QQuickItem *quitButton = panel.buttonNamed(QStringLiteral("Quit"));
    ASSERT_TRUE(open && quitButton);
    const auto ringed = [&panel] { return panel.window->activeFocusItem()->property("visualFocus").toBool(); };

    QTest::keyClick(panel.window.get(), Qt::Key_Tab); // from "Change my status"
    ASSERT_EQ(panel.window->activeFocusItem(), open);
    EXPECT_TRUE(ringed());

    QSignalSpy quit(panel.item.get(), SIGNAL(quitRequested()));
    QTest::mouseClick(panel.window.get(), Qt::LeftButton, {},
                      quitButton->mapToScene(QPointF(quitButton->width() / 2, quitButton->height() / 2)).toPoint());
    EXPECT_EQ(quit.count(), 1);
    ASSERT_EQ(panel.window->activeFocusItem(), quitButton);
    EXPECT_FALSE(ringed()) << "a press shows no ring";
    QTest::keyClick(panel.window.get(), Qt::Key_Backtab);
    EXPECT_TRUE(ringed());

    QSignalSpy opened(panel.item.get(), SIGNAL(openMainWindowRequested()));
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(open);
    ASSERT_TRUE(accessible && accessible->actionInterface());
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(opened.count(), 1);
}

TEST(PickerViewTest, KeyboardPicksTogglesFavouritesTypesACustomStatusAndCloses)
{
    ViewWorld world;
    world.signIn();
    Shown picker(world, pickerView);
    picker.window->requestActivate();
    QSignalSpy saved(picker.item.get(), SIGNAL(statusSaved()));
    QSignalSpy dismissed(picker.item.get(), SIGNAL(dismissRequested()));
    const QString tired = BuiltInStatusCatalog::localizedText("tired");
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return picker.buttonNamed(tired) != nullptr; }));
    QQuickItem *scroller = picker.find([](QQuickItem *i) { return i->inherits("QQuickFlickable"); });
    ASSERT_NE(scroller, nullptr);
    EXPECT_LE(scroller->height(), 340);
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return scroller->property("contentHeight").toReal() > 340; })) << "all sections fit?";

    QQuickItem *chip = picker.buttonNamed(tired);
    chip->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(picker.window.get(), Qt::Key_Return, Qt::ShiftModifier);
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return picker.buttonNamed(tired + ", Favourite") != nullptr; }));
    // The chip stays the same item, with the focus, while the favourites appear above it.
    EXPECT_EQ(picker.window->activeFocusItem(), chip);
    EXPECT_EQ(accessibilityFaults(*picker.window), QStringList());
    QList<Status> shown; // every own status the store showed, in order
    QObject::connect(&world.store, &SessionStore::ownStatusChanged, &world.store, [&] {
        if (world.store.ownStatus())
            shown << *world.store.ownStatus();
    });
    QTest::keyClick(picker.window.get(), Qt::Key_Space);
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return saved.count() > 0; }));
    EXPECT_EQ(saved.count(), 1);
    EXPECT_EQ(dismissed.count(), 1);
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.first().statusKey.value_or(QString()), "tired") << "the optimistic status comes first";
    QTest::keyClick(picker.window.get(), Qt::Key_Escape);
    EXPECT_EQ(dismissed.count(), 2);

    // The custom field: cut at sixty characters, Send only for text that is not blank, Return submits.
    QQuickItem *field = picker.find([](QQuickItem *i) { return i->inherits("QQuickTextField"); });
    ASSERT_NE(field, nullptr);
    const auto sendShown = [&] { return picker.buttonNamed("Publish status") != nullptr; };
    field->forceActiveFocus();
    QTest::keyClick(picker.window.get(), Qt::Key_Space);
    EXPECT_FALSE(sendShown());
    QTest::keyClick(picker.window.get(), Qt::Key_Backspace);
    for (int i = 0; i < 80; ++i)
        QTest::keyClick(picker.window.get(), Qt::Key_Z, Qt::NoModifier);
    EXPECT_EQ(field->property("text").toString(), QString(60, u'z'));
    EXPECT_TRUE(sendShown());
    QTest::keyClick(picker.window.get(), Qt::Key_Return);
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return saved.count() > 1; }));
    const auto custom = std::find_if(shown.begin(), shown.end(), [](const Status &s) { return s.statusKey == QStringLiteral("custom"); });
    ASSERT_NE(custom, shown.end());
    EXPECT_EQ(custom->text.value_or(QString()), QString(60, u'z'));
}

} // namespace
} // namespace vorlie::testing
