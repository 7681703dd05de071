#include "FakeServiceHost.h"

#include <stdexcept>

namespace vorlie::fake {

FakeServiceHost::FakeServiceHost()
{
    m_thread.setObjectName(QStringLiteral("fake-service"));
    m_service = new FakeService;
    m_service->moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(m_service, [this] { m_port = m_service->listen(); }, Qt::BlockingQueuedConnection);
    if (m_port == 0) {
        stop();
        throw std::runtime_error("the fake service could not listen on 127.0.0.1");
    }
}

FakeServiceHost::~FakeServiceHost()
{
    stop();
}

void FakeServiceHost::stop()
{
    // Deleted on its own thread: its sockets and timers belong there.
    QMetaObject::invokeMethod(m_service, [this] { delete m_service; }, Qt::BlockingQueuedConnection);
    m_service = nullptr;
    m_thread.quit();
    m_thread.wait();
}

QUrl FakeServiceHost::baseUrl() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1/api/v1").arg(m_port));
}

QUrl FakeServiceHost::rootUrl() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_port));
}

} // namespace vorlie::fake
