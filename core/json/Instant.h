#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace vorlie {

// The one instant form of every JSON text the system reads or writes:
// YYYY-MM-DDTHH:MM:SSZ on output; Z or a numeric offset accepted on input.
// Fractional seconds and zone-less texts are refused, since Qt::ISODate would
// quietly accept both.
std::optional<QDateTime> parseInstant(QStringView text);
QString formatInstant(const QDateTime &instant);

} // namespace vorlie
