// Damaged, hostile and odd stored files: each is read as no value without
// blocking or swallowing memory, nothing outside our folder is written, and
// the next save leaves a usable store behind.
#include "prefs/PrefsFixture.h"
#include "prefs/PrivateFile.h"
#include "prefs/PreferenceKeys.h"
#include "prefs/SharedDefaults.h"
#include "prefs/StandardDefaults.h"
#include "repositories/sample/MockRepositories.h"
#include "support/ResultOf.h"
#include "sync/SyncSnapshotCache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace vorlie;
using namespace std::chrono_literals;

namespace {

long peakResidentKiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QByteArray digestOfTree(const QString &dir)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const QStringList names = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names) {
        QFile file(dir + u'/' + name);
        hash.addData(name.toUtf8());
        if (file.open(QIODevice::ReadOnly))
            hash.addData(file.readAll());
    }
    return hash.result();
}

class StoredFiles : public ::testing::Test {
protected:
    StoredFiles() { sample = *vorlie::testing::resultOf(MockSyncRepository().fetchSync()); }

    // What `work` gave, or nothing if it did not end within ten seconds;
    // a call that blocks is left behind on its own thread.
    static std::optional<bool> promptly(std::function<bool()> work)
    {
        auto promise = std::make_shared<std::promise<bool>>();
        std::future<bool> result = promise->get_future();
        std::thread([promise, work = std::move(work)] { promise->set_value(work()); }).detach();
        if (result.wait_for(10s) != std::future_status::ready)
            return std::nullopt;
        return result.get();
    }

    QString dataDir() const { return paths.sharedSuite.chopped(4) + QStringLiteral(".data"); }
    QString cachePath() const { return dataDir() + u'/' + prefkeys::syncSnapshot(); }

    // The cache reads nothing and then takes a save that reads back whole.
    void expectCacheRecovers() const
    {
        SyncSnapshotCache cache(defaults);
        EXPECT_FALSE(cache.load());
        cache.save(sample);
        EXPECT_EQ(SyncSnapshotCache(defaults).load(), sample);
        EXPECT_EQ(modeOf(dataDir()), 0700U);
        EXPECT_EQ(modeOf(cachePath()), 0600U);
    }

    QTemporaryDir home;
    QTemporaryDir outside;
    PreferencePaths paths = PreferencePaths::under(home.path());
    SharedDefaults defaults{paths};
    SyncSnapshot sample;
};

TEST_F(StoredFiles, SpecialFilesInPlaceOfAValueOrTheIniNeitherBlockNorFloodAndValuesAreReplacedOnSave)
{
    ASSERT_TRUE(QDir().mkpath(dataDir()));
    ASSERT_EQ(::mkfifo(QFile::encodeName(cachePath()).constData(), 0600), 0);
    const QString widgetPath = dataDir() + u'/' + prefkeys::widgetSnapshot();
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), widgetPath));

    const long before = peakResidentKiB();
    const SharedDefaults shared = defaults;
    const std::optional<bool> noValue = false;
    EXPECT_EQ(promptly([shared] { return shared.data(prefkeys::syncSnapshot()).has_value(); }), noValue) << "reading a FIFO";
    EXPECT_EQ(promptly([shared] { return shared.data(prefkeys::widgetSnapshot()).has_value(); }), noValue) << "reading /dev/zero";
    EXPECT_LT(peakResidentKiB() - before, 64 * 1024);

    ASSERT_EQ(::mkfifo(QFile::encodeName(paths.standard).constData(), 0600), 0);
    const StandardDefaults standard(paths);
    EXPECT_EQ(promptly([standard] { return standard.text(QStringLiteral("k")).has_value(); }), noValue)
        << "reading a FIFO in place of the INI";
    EXPECT_TRUE(promptly([standard] { return standard.setText(QStringLiteral("k"), QStringLiteral("v")); }).has_value())
        << "writing over a FIFO in place of the INI blocked";

    expectCacheRecovers();
    EXPECT_TRUE(defaults.setData(prefkeys::widgetSnapshot(), "{}"));
    EXPECT_EQ(defaults.data(prefkeys::widgetSnapshot()), QByteArray("{}"));
    EXPECT_TRUE(QFileInfo(widgetPath).isFile() && !QFileInfo(widgetPath).isSymLink());
}

TEST_F(StoredFiles, LinksOutOfOurFolderAreNeitherReadNorWrittenThrough)
{
    const QString outsideFile = outside.filePath(QStringLiteral("precious"));
    writeRaw(outsideFile, R"({"someone":"else"})");
    const QString outsideDir = outside.filePath(QStringLiteral("elsewhere"));
    writeRaw(outsideDir + u'/' + prefkeys::syncSnapshot(), "theirs");
    const QByteArray outsideBefore = digestOfTree(outside.path()) + digestOfTree(outsideDir);

    // The INI file and the data directory both point elsewhere.
    ASSERT_TRUE(QDir().mkpath(home.path() + QStringLiteral("/vorlie")));
    ASSERT_TRUE(QFile::link(outsideFile, paths.sharedSuite));
    ASSERT_TRUE(QFile::link(outsideDir, dataDir()));

    EXPECT_TRUE(defaults.usesSharedSuite());
    EXPECT_FALSE(defaults.data(prefkeys::syncSnapshot())) << "read through a linked directory";
    EXPECT_TRUE(defaults.setText(prefkeys::appLanguage(), QStringLiteral("de")));
    expectCacheRecovers();
    EXPECT_TRUE(defaults.remove(prefkeys::syncSnapshot()));

    EXPECT_EQ(digestOfTree(outside.path()) + digestOfTree(outsideDir), outsideBefore);
    EXPECT_FALSE(QFileInfo(paths.sharedSuite).isSymLink());
    EXPECT_EQ(modeOf(paths.sharedSuite), 0600U);
    EXPECT_FALSE(QFileInfo(dataDir()).isSymLink());
    EXPECT_EQ(defaults.text(prefkeys::appLanguage()), QStringLiteral("de"));
}

TEST_F(StoredFiles, WhatStandsInTheWayIsMovedAsideKeepingOne)
{
    // A directory where the value belongs, twice over: one leftover is kept.
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(QDir().mkpath(cachePath() + QStringLiteral("/inner")));
        expectCacheRecovers();
        EXPECT_TRUE(QFileInfo(cachePath() + QStringLiteral(".broken/inner")).isDir());
        SyncSnapshotCache(defaults).remove();
    }
    EXPECT_EQ(QDir(dataDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);

    // A plain file where the data directory belongs.
    ASSERT_TRUE(QDir(dataDir()).removeRecursively());
    writeRaw(dataDir(), "not a directory");
    expectCacheRecovers();
    EXPECT_TRUE(QFileInfo(dataDir() + QStringLiteral(".broken")).isFile());
}

TEST_F(StoredFiles, UnreadableStoresAreReplacedAndTheLanguageSurvivesAModeChange)
{
    ASSERT_TRUE(defaults.setText(prefkeys::appLanguage(), QStringLiteral("en")));
    ASSERT_TRUE(defaults.setData(prefkeys::syncSnapshot(), "stale"));
    ASSERT_EQ(::chmod(QFile::encodeName(cachePath()).constData(), 0), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dataDir()).constData(), 0), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(paths.sharedSuite).constData(), 0), 0);
    if (::geteuid() != 0) { // root reads through any mode
        EXPECT_FALSE(defaults.data(prefkeys::syncSnapshot()));
    }

    expectCacheRecovers();
    EXPECT_TRUE(defaults.setText(QStringLiteral("other"), QStringLiteral("x")));
    EXPECT_EQ(modeOf(paths.sharedSuite), 0600U);
    EXPECT_EQ(defaults.text(prefkeys::appLanguage()), QStringLiteral("en"));
}

TEST_F(StoredFiles, CutShortRandomOrOversizedValuesReadAsNothingAndAreOverwritten)
{
    ASSERT_TRUE(defaults.saveShared(sample, prefkeys::syncSnapshot()));
    const QByteArray whole = *defaults.data(prefkeys::syncSnapshot());
    QByteArray noise(4096, Qt::Uninitialized);
    QRandomGenerator random(7);
    for (char &c : noise)
        c = static_cast<char>(random.bounded(256));
    for (const QByteArray &damaged : {whole.left(whole.size() / 2), whole.left(1), QByteArray(), noise}) {
        writeRaw(cachePath(), damaged);
        expectCacheRecovers();
    }

    QFile big(cachePath());
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(PreferenceFile::maxDataBytes + 1)); // sparse: costs no disk
    big.close();
    const long before = peakResidentKiB();
    EXPECT_FALSE(defaults.data(prefkeys::syncSnapshot())) << "an oversized value was read";
    EXPECT_LT(peakResidentKiB() - before, 8 * 1024);
    expectCacheRecovers();
}

TEST_F(StoredFiles, AHugeIniIsNotParsedAndIsMovedAsideAtTheNextWrite)
{
    ASSERT_TRUE(defaults.setText(prefkeys::appLanguage(), QStringLiteral("de")));
    QFile ini(paths.sharedSuite);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_TRUE(ini.write("[General]\nappLanguage=en\n") > 0);
    ASSERT_TRUE(ini.resize(100LL * 1024 * 1024)); // 100 MB of garbage after a plausible start
    ini.close();

    const long before = peakResidentKiB();
    EXPECT_FALSE(defaults.text(prefkeys::appLanguage()));
    EXPECT_LT(peakResidentKiB() - before, 8 * 1024);

    EXPECT_TRUE(defaults.setText(QStringLiteral("k"), QStringLiteral("v")));
    EXPECT_LE(QFileInfo(paths.sharedSuite).size(), 1024);
    EXPECT_EQ(defaults.text(QStringLiteral("k")), QStringLiteral("v"));
    EXPECT_FALSE(defaults.text(prefkeys::appLanguage())) << "the garbage file's values were carried over";
    EXPECT_TRUE(QFileInfo(paths.sharedSuite + QStringLiteral(".broken")).isFile());
}

} // namespace
