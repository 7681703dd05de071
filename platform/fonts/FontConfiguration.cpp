#include "FontConfiguration.h"

#include <fontconfig/fontconfig.h>

namespace vorlie {
namespace {

constexpr char withoutWebFonts[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <selectfont>
    <rejectfont>
      <glob>*.woff</glob>
      <glob>*.woff2</glob>
    </rejectfont>
  </selectfont>
</fontconfig>
)";

void loadWithoutWebFonts()
{
    FcConfig *config = FcInitLoadConfig();
    if (!config)
        return;
    // The snippet comes after the desktop's own files: theirs still hold.
    if (FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8 *>(withoutWebFonts), FcTrue)
        && FcConfigBuildFonts(config))
        FcConfigSetCurrent(config);
    FcConfigDestroy(config);
}

} // namespace

FontConfigurationLoad::FontConfigurationLoad()
    : m_thread(loadWithoutWebFonts)
{
}

FontConfigurationLoad::~FontConfigurationLoad()
{
    wait();
}

void FontConfigurationLoad::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace vorlie
