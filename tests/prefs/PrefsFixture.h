#pragma once

#include "prefs/PreferencePaths.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

// The permission bits of `path` itself, not of a link's target; 0 if absent.
inline unsigned modeOf(const QString &path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return st.st_mode & 07777U;
}

// Writes a file as another process, an older version or an intruder would
// have left it.
inline void writeRaw(const QString &path, const QByteArray &contents)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(contents), contents.size());
}

// A private configuration directory per test: a fresh path also keeps
// QSettings' in-process cache from serving a previous test's values.
class PrefsFixture : public ::testing::Test {
protected:
    vorlie::PreferencePaths paths() const { return vorlie::PreferencePaths::under(m_dir.path()); }
    QString configDir() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};
