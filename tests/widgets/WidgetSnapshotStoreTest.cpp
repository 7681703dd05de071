// The widget snapshot as the application writes it after a sync: what it
// holds, when it is (not) rewritten, and how the avatar picture gets in.
#include "widget/WidgetSnapshotStore.h"

#include "FakeServiceHost.h"
#include "domain/StatusCatalog.h"
#include "i18n/TextLookup.h"
#include "prefs/PreferenceKeys.h"
#include "repositories/sample/SampleData.h"
#include "support/ScriptedReplies.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTest>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::testing;
using namespace std::chrono_literals;

namespace {

const QString picturePath = QStringLiteral("/9.x/avataaars/png");

QByteArray png(int side)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

class WidgetSnapshotStoreTest : public ::testing::Test {
protected:
    // The sample world's sync: Quil as main person with a "miss_you" status.
    static SyncSnapshot sync() { return sample::data().snapshot; }

    static SyncSnapshot withStatus(SyncSnapshot s, const QString &key, std::optional<QString> text, qint64 secondsLater)
    {
        s.mainPersonStatus->statusKey = key;
        s.mainPersonStatus->text = std::move(text);
        s.mainPersonStatus->createdAt = s.mainPersonStatus->createdAt.addSecs(secondsLater);
        return s;
    }

    QJsonObject storedJson() const
    {
        return QJsonDocument::fromJson(defaults.data(prefkeys::widgetSnapshot()).value_or(QByteArray())).object();
    }

    void waitForDownloads(int count)
    {
        while (downloads.count() < count)
            ASSERT_TRUE(downloads.wait(5000)) << "picture download " << downloads.count() + 1 << " never ended";
    }

    int pictureRequests() { return host.service().requestCount(picturePath); }

    QTemporaryDir dir;
    SharedDefaults defaults{PreferencePaths::under(dir.path())};
    fake::FakeServiceHost host;
    // Goes after the store: downloads the store aborts on its way out finish
    // on the event loop, and must do so before their network manager goes.
    struct PictureNetwork {
        ~PictureNetwork() { QCoreApplication::processEvents(); }
        QNetworkAccessManager manager;
    } pictures;
    int reloads = 0;
    WidgetSnapshotStore store{defaults, pictures.manager, host.rootUrl(), [this] { ++reloads; }};
    QSignalSpy downloads{&store, &WidgetSnapshotStore::pictureDownloadFinished};
};

// The main person and their status in the active language (how a custom
// status or an unknown key reads is the display text's suite's), and
// without a status the snapshot counts as expired.
TEST_F(WidgetSnapshotStoreTest, SnapshotCarriesTheMainPersonAndTheirStatusInTheActiveLanguage)
{
    TextLookup lookup([] { return QStringList{QStringLiteral("en-US")}; });
    lookup.apply(AppLanguage::german);
    store.applySyncToWidget(withStatus(sync(), QStringLiteral("tired"), QStringLiteral("ignored service text"), 0));
    const User &quil = sample::data().partner;
    const WidgetSnapshot written{quil.id, quil.displayName, quil.avatar, QStringLiteral("Müde"), sample::data().partnerStatus.emoji,
                                 StatusVisualState::missing, sample::data().partnerStatus.createdAt, false, std::nullopt, std::nullopt};
    EXPECT_EQ(store.load(), written);
    EXPECT_EQ(reloads, 1);

    SyncSnapshot noStatus = sync();
    noStatus.mainPersonStatus.reset();
    store.applySyncToWidget(noStatus);
    const WidgetSnapshot expired{quil.id, quil.displayName, quil.avatar, {}, std::nullopt, StatusVisualState::neutral,
                                 noStatus.serverTime, true, std::nullopt, std::nullopt};
    EXPECT_EQ(store.load(), expired);
    EXPECT_FALSE(storedJson().contains(QStringLiteral("emoji")));
}

TEST_F(WidgetSnapshotStoreTest, PictureArrivesInASecondWriteAndIsReusedWhileTheAvatarAndPersonStay)
{
    store.applySyncToWidget(sync());
    EXPECT_EQ(reloads, 1);
    EXPECT_FALSE(store.load()->avatarImageData);

    waitForDownloads(1);
    const auto withPicture = store.load();
    ASSERT_TRUE(withPicture && withPicture->avatarImageData);
    EXPECT_EQ(reloads, 2);
    const auto request = host.service().requests(picturePath).constFirst();
    EXPECT_EQ(QUrlQuery(QUrl(request.rawTarget)).queryItemValue(QStringLiteral("size")), QStringLiteral("192"));

    // The periodic sync with nothing new: no write, no reload, no download. (A
    // new status keeping the picture is the end-to-end suite's road of one event.)
    store.applySyncToWidget(sync());
    EXPECT_EQ(reloads, 2);
    EXPECT_EQ(pictureRequests(), 1);

    // A changed avatar, or another person, starts without the old picture.
    SyncSnapshot newAvatar = sync();
    HairColor &hair = newAvatar.mainPerson->person.avatar.hairColor;
    hair = hair == HairColor::red ? HairColor::blue : HairColor::red;
    store.applySyncToWidget(newAvatar);
    EXPECT_FALSE(store.load()->avatarImageData);
    waitForDownloads(2);
    EXPECT_EQ(reloads, 4);
    EXPECT_NE(store.load()->avatarImageData, withPicture->avatarImageData);

    SyncSnapshot otherPerson = newAvatar;
    otherPerson.mainPerson->person.id = QStringLiteral("01SOMEONEELSE000000000000");
    store.applySyncToWidget(otherPerson);
    EXPECT_FALSE(store.load()->avatarImageData);
    EXPECT_EQ(store.load()->personID, otherPerson.mainPerson->person.id);
}

TEST_F(WidgetSnapshotStoreTest, OnlyAPngAnswerBecomesThePictureAndAFailureIsRetriedByTheNextSync)
{
    const QList<fake::ScriptedReply> refused{
        reply(404, png(192)),                          // a picture on an error page
        reply(200, "<html>Service unavailable</html>"), // not a picture
        reply(200, png(192).left(200)),                // truncated
        reply(200, png(4000)),                         // far beyond what was asked for
        reply(200, QByteArray(2 * 1024 * 1024, 'x')),  // over the size limit
    };
    for (const auto &reply : refused)
        host.service().script("GET", picturePath, reply);

    for (int attempt = 1; attempt <= refused.size(); ++attempt) {
        store.applySyncToWidget(sync());
        waitForDownloads(attempt);
        EXPECT_FALSE(store.load()->avatarImageData) << "attempt " << attempt;
    }
    EXPECT_EQ(reloads, 1);

    store.applySyncToWidget(sync()); // unscripted: a real picture
    waitForDownloads(refused.size() + 1);
    EXPECT_TRUE(store.load()->avatarImageData);
    EXPECT_EQ(pictureRequests(), refused.size() + 1);
}

TEST_F(WidgetSnapshotStoreTest, LatePictureNeverOverwritesANewerStatusAndDownloadsAreNotDoubled)
{
    host.service().script("GET", picturePath, reply(200, png(192), 300ms));
    store.applySyncToWidget(sync());
    store.applySyncToWidget(withStatus(sync(), QStringLiteral("home"), std::nullopt, 60));
    waitForDownloads(1);

    const auto stored = store.load();
    EXPECT_EQ(stored->statusText, BuiltInStatusCatalog::localizedText(QStringLiteral("home")));
    EXPECT_FALSE(stored->avatarImageData);
    EXPECT_EQ(pictureRequests(), 1);

    // The next sync tries again, and this time the picture stays.
    store.applySyncToWidget(withStatus(sync(), QStringLiteral("home"), std::nullopt, 60));
    waitForDownloads(2);
    EXPECT_TRUE(store.load()->avatarImageData);
}

// The picture's bytes travel to the widget whole, as the provider's suite
// shows; undecodable ones count as no snapshot.
TEST_F(WidgetSnapshotStoreTest, UndecodablePictureBytesCountAsNoSnapshotAndNoMainPersonRemovesTheSnapshotOnce)
{
    store.applySyncToWidget(sync());
    waitForDownloads(1);
    QJsonObject broken = storedJson();
    broken.insert(QStringLiteral("avatarImageData"), QStringLiteral("not base64!"));
    defaults.setData(prefkeys::widgetSnapshot(), QJsonDocument(broken).toJson());
    EXPECT_FALSE(store.load());

    store.clear();
    EXPECT_FALSE(defaults.data(prefkeys::widgetSnapshot()));
    EXPECT_EQ(reloads, 3);

    // No main person, or a sign-out, removes the snapshot once.
    store.applySyncToWidget(sync());
    SyncSnapshot alone = sync();
    alone.mainPerson.reset();
    store.applySyncToWidget(alone);
    EXPECT_FALSE(defaults.data(prefkeys::widgetSnapshot()));
    EXPECT_EQ(reloads, 5);
    store.applySyncToWidget(alone);
    store.clear();
    EXPECT_EQ(reloads, 5);
}

TEST_F(WidgetSnapshotStoreTest, AStoreDestroyedDuringADownloadEndsItQuietly)
{
    host.service().script("GET", picturePath, reply(200, png(192), 200ms));
    bool storeGone = false;
    int reloadsAfterwards = 0;
    {
        WidgetSnapshotStore early(defaults, pictures.manager, host.rootUrl(), [&] { reloadsAfterwards += storeGone; });
        early.applySyncToWidget(sync());
        ASSERT_TRUE(QTest::qWaitFor([&] { return pictureRequests() == 1; }, 5000));
    }
    storeGone = true;
    // Past the moment the picture would have arrived: nothing may come of it.
    QTest::qWait(300);
    EXPECT_EQ(reloadsAfterwards, 0);
    const auto stored = store.load();
    ASSERT_TRUE(stored);
    EXPECT_FALSE(stored->avatarImageData) << "a store that is gone wrote its picture";
}
