#pragma once

#include "PreferenceFile.h"
#include "PreferencePaths.h"

namespace vorlie {

// The application's own preferences ("mac.menuBarIconEnabled",
// "statusPicker.recentKeys"), which the widget never reads. Also the store
// the shared suite falls back to when it cannot be used.
class StandardDefaults : public PreferenceFile {
public:
    explicit StandardDefaults(const PreferencePaths &paths = PreferencePaths::forUser())
        : PreferenceFile(paths.standard)
    {
    }
};

} // namespace vorlie
