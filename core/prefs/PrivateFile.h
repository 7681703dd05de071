#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace vorlie {

// Preference files may hold personal data (names, statuses, device ids), so
// they are made private before anything is written: missing directories are
// created 0700 and the file 0600. QSaveFile, which QSettings uses, carries the
// existing file's mode over to its replacement, so the mode set here lasts.
// A symbolic link where the file belongs is replaced by a file of our own, so
// nothing outside our folder is ever written through it; a regular file
// larger than `maxBytes` is damaged beyond use and moved aside.
bool preparePrivateFile(const QString &path, qint64 maxBytes);

// The directory and its missing parents, created 0700. Whatever stands where
// the directory itself belongs and is not a private directory we can use (a
// link, a file, a directory we may not enter) is moved aside first.
bool preparePrivateDirectory(const QString &path);
// Whether preparePrivateFile() could succeed without changing anything yet.
bool canHoldPrivateFile(const QString &path);

// Renames whatever is at `path` to "<path>.broken", replacing an older one, so
// a damaged store is kept for a look but no longer in the way.
bool moveAside(const QString &path);

// The contents of a regular file of at most `maxBytes` in `directory`, which
// must itself be a real directory, not a link. Links, FIFOs, devices, larger
// files and anything unreadable give none, without blocking and without
// reading past the limit.
std::optional<QByteArray> readRegularFile(const QString &directory, const QString &name, qint64 maxBytes);

// Whether `path` is a regular file (not a link) of at most `maxBytes`.
bool isSmallRegularFile(const QString &path, qint64 maxBytes);

} // namespace vorlie
