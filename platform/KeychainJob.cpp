#include "KeychainJob.h"

#include <QCoro/QCoroSignal>
#include <qt6keychain/keychain.h>

#include <memory>

namespace vorlie {

KeychainJob::KeychainJob(std::chrono::milliseconds guard)
{
    m_guard.setSingleShot(true);
    m_guard.setInterval(guard);
    connect(&m_guard, &QTimer::timeout, this, [this] { settle(false); });
}

void KeychainJob::settle(bool succeeded)
{
    if (m_settled)
        return;
    m_settled = true;
    m_succeeded = succeeded;
    m_guard.stop();
    emit settled();
}

QCoro::Task<bool> KeychainJob::run(QKeychain::Job *job, std::chrono::milliseconds guard,
                                   std::function<void(QKeychain::Job &)> onFinished)
{
    if (job == nullptr)
        co_return false;
    // Owned by this frame: destroying it cuts the connection to a job that outlives the guard.
    const std::unique_ptr<KeychainJob> watch(new KeychainJob(guard));
    KeychainJob *self = watch.get();
    // Connected before start(): a backend may report an error synchronously.
    connect(job, &QKeychain::Job::finished, self, [self, job, onFinished = std::move(onFinished)] {
        const bool ok = job->error() == QKeychain::NoError;
        if (ok && onFinished)
            onFinished(*job);
        self->settle(ok);
    });
    job->setAutoDelete(true);
    self->m_guard.start();
    job->start();

    if (!self->m_settled)
        co_await qCoro(self, &KeychainJob::settled);
    co_return self->m_succeeded;
}

} // namespace vorlie
