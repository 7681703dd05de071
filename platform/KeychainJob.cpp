#include "KeychainJob.h"

#include <QCoro/QCoroSignal>
#include <qt6keychain/keychain.h>

#include <memory>

namespace vorlie {

KeychainJob::KeychainJob(std::chrono::milliseconds guard)
{
    m_guard.setSingleShot(true);
    m_guard.setInterval(guard);
    connect(&m_guard, &QTimer::timeout, this, [this] { settle(Outcome{}); });
}

void KeychainJob::settle(Outcome outcome)
{
    if (m_settled)
        return;
    m_settled = true;
    m_outcome = std::move(outcome);
    m_guard.stop();
    emit settled();
}

QCoro::Task<KeychainJob::Outcome> KeychainJob::run(QKeychain::Job *job, std::chrono::milliseconds guard,
                                                   std::function<void(QKeychain::Job &)> onFinished)
{
    if (job == nullptr)
        co_return Outcome{};
    // Owned by this frame: destroying it cuts the connection to a job that outlives the guard.
    const std::unique_ptr<KeychainJob> watch(new KeychainJob(guard));
    KeychainJob *self = watch.get();
    // Connected before start(): a backend may report an error synchronously.
    connect(job, &QKeychain::Job::finished, self, [self, job, onFinished = std::move(onFinished)] {
        if (job->error() == QKeychain::NoError && onFinished)
            onFinished(*job);
        self->settle(Outcome{true, job->error(), job->errorString()});
    });
    job->setAutoDelete(true);
    self->m_guard.start();
    job->start();

    if (!self->m_settled)
        co_await qCoro(self, &KeychainJob::settled);
    co_return Outcome(self->m_outcome); // a copy: see the g++ 12 note in AuthSession
}

} // namespace vorlie
