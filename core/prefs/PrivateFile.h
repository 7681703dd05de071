#pragma once

#include <QString>

namespace vorlie {

// Preference files may hold personal data (names, statuses, device ids), so
// they are made private before anything is written: missing directories are
// created 0700 and the file 0600. QSaveFile, which QSettings uses, carries the
// existing file's mode over to its replacement, so the mode set here lasts.
bool preparePrivateFile(const QString &path);

// The directory and its missing parents, created 0700.
bool preparePrivateDirectory(const QString &path);
// Whether preparePrivateFile() could succeed without changing anything yet.
bool canHoldPrivateFile(const QString &path);

} // namespace vorlie
