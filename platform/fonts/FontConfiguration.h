#pragma once

#include <thread>

namespace vorlie {

// Reads the desktop's font configuration and font list on a thread of its
// own while the program starts, so that the first window does not wait for
// it (a few milliseconds of XML and caches). Web-font copies (WOFF, WOFF2)
// are left out: font packages install them beside the TrueType file of the
// same family, and Qt would draw from the copy FreeType has to unpack on
// every start (5 ms for the symbol font). Start it before the application
// object exists; nothing may ask Qt for a font until `wait()` returned.
class FontConfigurationLoad {
public:
    FontConfigurationLoad();
    ~FontConfigurationLoad();
    FontConfigurationLoad(const FontConfigurationLoad &) = delete;
    FontConfigurationLoad &operator=(const FontConfigurationLoad &) = delete;

    void wait();

private:
    std::thread m_thread;
};

} // namespace vorlie
