#pragma once

#include "interface/WidgetExtension.h"

namespace vorlie {

// The one option a user can change on the main-person widget.
struct MainPersonWidgetConfigurationIntent {
    static constexpr bool showUpdatedTimeDefault = true;

    bool showUpdatedTime = showUpdatedTimeDefault;

    // A missing or non-boolean value, e.g. from a hand-edited host file,
    // keeps the default.
    static MainPersonWidgetConfigurationIntent from(const widgetkit::WidgetConfiguration &configuration);

    // Localised; call after the bundle applied the interface language.
    static QString title();
    static QList<widgetkit::ConfigurationParameter> parameters();
};

} // namespace vorlie
