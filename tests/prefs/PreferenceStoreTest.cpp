#include "PrefsFixture.h"

#include "prefs/SharedDefaults.h"
#include "prefs/StandardDefaults.h"

#include <QFileInfo>
#include <QSettings>

using namespace vorlie;

using PreferenceStore = PrefsFixture;

TEST_F(PreferenceStore, EachKindOfValueRoundTripsAndRemovalForgetsIt)
{
    const SharedDefaults shared(paths());
    EXPECT_TRUE(shared.setData(QStringLiteral("d"), QByteArray("\x00\xff{\"a\":1}\n", 10)));
    EXPECT_TRUE(shared.setText(QStringLiteral("t"), QStringLiteral("a, b = \"c\" ü")));
    EXPECT_TRUE(shared.setTruth(QStringLiteral("b"), false));
    EXPECT_TRUE(shared.setTextList(QStringLiteral("l"), {QStringLiteral("x,y"), QStringLiteral("z")}));

    EXPECT_EQ(shared.data(QStringLiteral("d")), QByteArray("\x00\xff{\"a\":1}\n", 10));
    EXPECT_EQ(shared.text(QStringLiteral("t")), QStringLiteral("a, b = \"c\" ü"));
    EXPECT_EQ(shared.truth(QStringLiteral("b")), false);
    EXPECT_EQ(shared.textList(QStringLiteral("l")), (QStringList{QStringLiteral("x,y"), QStringLiteral("z")}));

    EXPECT_TRUE(shared.remove(QStringLiteral("d")));
    EXPECT_FALSE(shared.data(QStringLiteral("d")));
    EXPECT_FALSE(shared.text(QStringLiteral("missing")));
    EXPECT_TRUE(shared.usesSharedSuite());
    // The suite and the standard store are separate files.
    EXPECT_FALSE(StandardDefaults(paths()).text(QStringLiteral("t")));
}

TEST_F(PreferenceStore, ReadsOnlyTheFormsIniGivesBackForEachTypeAndNothingFromAGarbledFile)
{
    // Written by hand as another process's QSettings leaves them on disk.
    writeRaw(paths().standard, "[General]\n"
                               "flagTrue=true\nflagFalse=false\nflagYes=yes\nflagOne=1\nflagList=true, false\n"
                               "one=tired\ntwo=tired, home\nempty=@Invalid()\n"
                               "text=plain\n");
    const StandardDefaults store(paths());
    EXPECT_EQ(store.truth(QStringLiteral("flagTrue")), true);
    EXPECT_EQ(store.truth(QStringLiteral("flagFalse")), false);
    EXPECT_FALSE(store.truth(QStringLiteral("flagYes")));
    EXPECT_FALSE(store.truth(QStringLiteral("flagOne")));
    EXPECT_FALSE(store.truth(QStringLiteral("flagList")));

    EXPECT_EQ(store.textList(QStringLiteral("one")), QStringList{QStringLiteral("tired")});
    EXPECT_EQ(store.textList(QStringLiteral("two")), (QStringList{QStringLiteral("tired"), QStringLiteral("home")}));
    EXPECT_FALSE(store.textList(QStringLiteral("empty")));

    EXPECT_FALSE(store.data(QStringLiteral("text")));
    EXPECT_FALSE(store.text(QStringLiteral("two")));

    // A garbled file reads as empty.
    writeRaw(paths().sharedSuite, QByteArray("\x00\x01[[[=\xff\xfe\n=@ByteArray(\n@Variant(\x01", 30));
    const SharedDefaults shared(paths());
    EXPECT_FALSE(shared.data(QStringLiteral("cache.syncSnapshot")));
    EXPECT_FALSE(shared.truth(QStringLiteral("x")));
    EXPECT_FALSE(shared.textList(QStringLiteral("x")));
}

TEST_F(PreferenceStore, EveryReadSeesWritesMadeBehindItsBack)
{
    const SharedDefaults shared(paths());
    ASSERT_TRUE(shared.setText(QStringLiteral("appLanguage"), QStringLiteral("de")));
    ASSERT_EQ(shared.text(QStringLiteral("appLanguage")), QStringLiteral("de"));
    // Another process replaces the file; a longer file is a certain change
    // for QSettings' own change check.
    writeRaw(paths().sharedSuite, "[General]\nappLanguage=device\n");
    EXPECT_EQ(shared.text(QStringLiteral("appLanguage")), QStringLiteral("device"));

    // A second handle (as the widget holds) sees this handle's writes.
    const SharedDefaults other(paths());
    ASSERT_TRUE(shared.setText(QStringLiteral("appLanguage"), QStringLiteral("en")));
    EXPECT_EQ(other.text(QStringLiteral("appLanguage")), QStringLiteral("en"));
}

TEST_F(PreferenceStore, FilesValuesAndNewDirectoriesArePrivateAndKeysNeverLeaveTheirDirectory)
{
    const SharedDefaults shared(paths());
    const StandardDefaults standard(paths());
    ASSERT_TRUE(standard.setTruth(QStringLiteral("k"), true));
    // Each write replaces its file through a temporary copy.
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(shared.setText(QStringLiteral("k"), QString::number(i)));
    EXPECT_EQ(modeOf(QFileInfo(paths().sharedSuite).absolutePath()), 0700U);
    EXPECT_EQ(modeOf(paths().sharedSuite), 0600U);
    EXPECT_EQ(modeOf(paths().standard), 0600U);
    ASSERT_TRUE(shared.setData(QStringLiteral("widgetSnapshot.mainPerson"), "{}"));
    ASSERT_TRUE(shared.setData(QStringLiteral("widgetSnapshot.mainPerson"), "{\"a\":1}"));
    const QString dataDir = configDir() + QStringLiteral("/vorlie/group.com.vorlia.app.data");
    EXPECT_EQ(QDir(dataDir).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("widgetSnapshot.mainPerson")});

    for (const char *hostile : {"../escaped", "a/b", "", ".hidden", "..", "x\\y"}) {
        EXPECT_FALSE(shared.setData(QString::fromLatin1(hostile), "x")) << hostile;
        EXPECT_FALSE(shared.data(QString::fromLatin1(hostile))) << hostile;
    }
    EXPECT_FALSE(QFileInfo::exists(configDir() + QStringLiteral("/vorlie/escaped")));

    EXPECT_TRUE(shared.remove(QStringLiteral("widgetSnapshot.mainPerson")));
    EXPECT_FALSE(shared.data(QStringLiteral("widgetSnapshot.mainPerson")));
    EXPECT_TRUE(QDir(dataDir).entryList(QDir::Files | QDir::Hidden).isEmpty());

    // A file loosened since, as an older version left it, is tightened at the next write.
    ASSERT_TRUE(QFile::setPermissions(paths().standard, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    ASSERT_TRUE(standard.setText(QStringLiteral("y"), QStringLiteral("2")));
    EXPECT_EQ(modeOf(paths().standard), 0600U);
    EXPECT_EQ(standard.truth(QStringLiteral("k")), true);
}

TEST_F(PreferenceStore, UnusableSuiteFallsBackToTheStandardStoreSilently)
{
    // Something that is not a file stands where the suite should be.
    ASSERT_TRUE(QDir().mkpath(paths().sharedSuite));
    const SharedDefaults shared(paths());
    EXPECT_FALSE(shared.usesSharedSuite());
    EXPECT_TRUE(shared.setText(QStringLiteral("appLanguage"), QStringLiteral("de")));
    EXPECT_EQ(shared.text(QStringLiteral("appLanguage")), QStringLiteral("de"));
    EXPECT_EQ(StandardDefaults(paths()).text(QStringLiteral("appLanguage")), QStringLiteral("de"));
}

TEST_F(PreferenceStore, NoUsableStoreAtAllRefusesWritesCleanly)
{
    // A plain file where the directory of both stores belongs.
    writeRaw(configDir() + QStringLiteral("/vorlie"), "not a directory");
    const SharedDefaults shared(paths());
    const StandardDefaults standard(paths());
    EXPECT_FALSE(shared.setText(QStringLiteral("k"), QStringLiteral("v")));
    EXPECT_FALSE(shared.setData(QStringLiteral("k"), "v"));
    EXPECT_FALSE(shared.remove(QStringLiteral("k")));
    EXPECT_FALSE(standard.setTruth(QStringLiteral("k"), true));
    EXPECT_FALSE(shared.text(QStringLiteral("k")));
    EXPECT_FALSE(standard.truth(QStringLiteral("k")));
}
