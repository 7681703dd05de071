#pragma once

#include "session/TokenStore.h"

#include <chrono>

namespace vorlie {

// Tokens in the desktop's Secret Service (libsecret through QtKeychain), one
// generic item per account under the store's service name. There is no
// plain-text fallback: without a reachable Secret Service reads give none and
// writes are dropped, so the app simply stays signed out.
class KeychainTokenStore final : public TokenStore {
public:
    static constexpr std::chrono::milliseconds defaultGuardTimeout{10'000};

    // The guard bounds every keychain job, so a hung Secret Service never
    // hangs the session.
    explicit KeychainTokenStore(QString service, std::chrono::milliseconds guardTimeout = defaultGuardTimeout);

    QCoro::Task<std::optional<QString>> read(QString account) override;
    // NOLINTNEXTLINE(bugprone-easily-swappable-parameters): the order is the interface's
    QCoro::Task<void> write(QString value, QString account) override;
    QCoro::Task<void> deleteItem(QString account) override;

    const QString &service() const { return m_service; }

private:
    // A job for the account's item, never allowed to fall back to a plain file.
    template<typename JobType>
    JobType *newJob(const QString &account) const;

    const QString m_service;
    const std::chrono::milliseconds m_guardTimeout;
};

} // namespace vorlie
