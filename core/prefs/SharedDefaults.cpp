#include "SharedDefaults.h"

namespace vorlie {

bool SharedDefaults::usesSharedSuite() const
{
    return PreferenceFile(m_paths.sharedSuite).isUsable();
}

PreferenceFile SharedDefaults::file() const
{
    PreferenceFile suite(m_paths.sharedSuite);
    if (suite.isUsable())
        return suite;
    return PreferenceFile(m_paths.standard);
}

} // namespace vorlie
