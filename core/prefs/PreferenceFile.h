#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace vorlie {

// One INI preference file, opened afresh for every access so that a value
// written by another process is seen. QSettings replaces the file by writing
// a temporary copy under a lock file and renaming it, so a reader sees the
// old or the new file, never a torn one.
// Data values (JSON records of up to some hundred kilobytes) are files of
// their own in a directory beside it, "<name>.data/<key>": QSettings escapes
// and parses INI text byte by byte and rewrites the whole file on every
// change, which made a sync's cache write, and every read of the small
// widget snapshot next to it, cost many times the sync's own decoding.
// They too are replaced by a rename.
class PreferenceFile {
public:
    // Our INI files hold a handful of short values; anything far larger is
    // damaged and is neither parsed nor kept.
    static constexpr qint64 maxSettingsBytes = qint64{1024} * 1024;
    // A data value is at most a sync answer's worth, which the client caps at 8 MiB.
    static constexpr qint64 maxDataBytes = qint64{16} * 1024 * 1024;

    explicit PreferenceFile(QString path) : m_path(std::move(path)) {}

    const QString &path() const { return m_path; }

    // Whether the file can serve as a store: its directory exists or can be
    // made, and the file is absent or a regular file we may read and write.
    bool isUsable() const;

    // Values of the wrong type read as none: INI keeps no types, so each
    // reader accepts exactly the forms that QSettings gives back for it.
    std::optional<QByteArray> data(const QString &key) const;
    std::optional<QString> text(const QString &key) const;
    std::optional<bool> truth(const QString &key) const;
    // A one-element list comes back from INI as a plain text; it is taken as
    // a list of one, and an empty list comes back as no value.
    std::optional<QStringList> textList(const QString &key) const;

    // Each write is flushed at once; false when it did not reach the disk.
    // Data values are not synced to the disk: they are caches the next sync
    // writes again, and a crash leaves the old or the new value.
    bool setData(const QString &key, const QByteArray &value) const;
    bool setText(const QString &key, const QString &value) const;
    bool setTruth(const QString &key, bool value) const;
    bool setTextList(const QString &key, const QStringList &value) const;
    bool remove(const QString &key) const;

private:
    QVariant read(const QString &key) const;
    // Empty for a key that cannot name a file.
    QString dataPath(const QString &key) const;
    QString dataDirectory() const;
    bool write(const QString &key, const QVariant *value) const;

    QString m_path;
};

} // namespace vorlie
