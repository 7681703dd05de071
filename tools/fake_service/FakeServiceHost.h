#pragma once

#include "FakeService.h"

#include <QThread>
#include <QUrl>

namespace vorlie::fake {

// Runs a FakeService on a thread of its own, so a test's event loop and the
// server never wait for each other. Listens on 127.0.0.1 at a free port.
class FakeServiceHost {
public:
    FakeServiceHost();
    ~FakeServiceHost();
    FakeServiceHost(const FakeServiceHost &) = delete;
    FakeServiceHost &operator=(const FakeServiceHost &) = delete;

    FakeService &service() { return *m_service; }
    quint16 port() const { return m_port; }
    // "http://127.0.0.1:PORT/api/v1"
    QUrl baseUrl() const;
    // "http://127.0.0.1:PORT", for requests outside the API.
    QUrl rootUrl() const;

private:
    void stop();

    QThread m_thread;
    FakeService *m_service = nullptr; // lives on m_thread
    quint16 m_port = 0;
};

} // namespace vorlie::fake
