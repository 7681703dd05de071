#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <optional>

namespace vorlie {

// The one instant form of every JSON text the system reads or writes:
// YYYY-MM-DDTHH:MM:SSZ on output; Z or a numeric offset accepted on input.
// Fractional seconds and zone-less texts are refused, since Qt::ISODate would
// quietly accept both.
std::optional<QDateTime> parseInstant(QStringView text);
// The same for UTF-8 text, read without a QString.
std::optional<QDateTime> parseInstant(QByteArrayView utf8);
QString formatInstant(const QDateTime &instant);

} // namespace vorlie
