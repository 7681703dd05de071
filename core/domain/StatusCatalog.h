#pragma once

#include "Status.h"
#include "StatusCatalogItem.h"

#include <QSet>
#include <QString>
#include <optional>
#include <vector>

namespace vorlie {

// The statuses built into the program: the source of every built-in status's
// localised text, and the picker's catalogue when the service's cannot be
// loaded. Texts follow the interface language through the installed
// translator.
namespace BuiltInStatusCatalog {

struct Entry {
    QString key;
    std::optional<QString> emoji;
    StatusCategory category = StatusCategory::custom;
    StatusVisualState visualState = StatusVisualState::neutral;
    QString localizationKey;

    friend bool operator==(const Entry &, const Entry &) = default;
};

// All 21 entries in their fixed order; every list derived from them keeps it.
const std::vector<Entry> &entries();
// Exact, case-sensitive.
std::optional<Entry> entry(QStringView key);
// The entry's translated text; for a key outside the table the fallback if
// given, else the key itself.
QString localizedText(const QString &key, const std::optional<QString> &fallback = std::nullopt);
// One item per entry, in table order.
std::vector<StatusCatalogItem> items(const QSet<QString> &favoriteKeys);

} // namespace BuiltInStatusCatalog

// The text every screen, the menu-bar label and the widget show for a status.
// A built-in key always shows this client's own wording, whatever text the
// service sent.
QString displayText(const Status &status);

} // namespace vorlie
