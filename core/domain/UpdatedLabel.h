#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

namespace vorlie {

// The "updated" label under a status: a relative phrase below 24 hours (a
// creation time in the future reads as now), "yesterday" below 48 hours,
// nothing from 48 hours on. `now` is injected so that callers and tests
// control the clock; `locale` is the interface language's formatting locale.
std::optional<QString> updatedLabel(const QDateTime &createdAt, const QDateTime &now, const QLocale &locale);

} // namespace vorlie
