#pragma once

#include "prefs/PreferencePaths.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A private configuration directory per test: a fresh path also keeps
// QSettings' in-process cache from serving a previous test's values.
class PrefsFixture : public ::testing::Test {
protected:
    vorlie::PreferencePaths paths() const { return vorlie::PreferencePaths::under(m_dir.path()); }
    QString configDir() const { return m_dir.path(); }

    // Writes a preference file as another process or an older version
    // would have left it.
    static void writeRaw(const QString &path, const QByteArray &contents)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(contents), contents.size());
    }

private:
    QTemporaryDir m_dir;
};
