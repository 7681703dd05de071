#pragma once

#include <QMap>
#include <QString>
#include <QUrl>

namespace vorlie {

// The base URL with `path` appended as path segments (QUrl::resolved would
// drop the base's last segment, "v1"). Characters that do not belong in a
// path are percent-encoded. A non-empty query is written with every value
// fully encoded ("+" and "&" included); an empty one adds no "?".
QUrl serviceURL(const QUrl &baseURL, const QString &path, const QMap<QString, QString> &query = {});

} // namespace vorlie
