#pragma once

#include "session/TokenStore.h"

#include <chrono>
#include <memory>

namespace vorlie {

class SecretServiceWatch;

// Tokens in the desktop's Secret Service (libsecret through QtKeychain), one
// generic item per account under the store's service name. There is no
// plain-text fallback: without a reachable, unlocked Secret Service a read
// gives none and a write is refused, and each says why.
class KeychainTokenStore final : public TokenStore {
public:
    // One guard bounds the whole start-up wait for a keychain that never answers.
    static constexpr std::chrono::milliseconds defaultGuardTimeout{5'000};

    // The guard bounds every keychain job, so a hung Secret Service never
    // hangs the session.
    explicit KeychainTokenStore(QString service, std::chrono::milliseconds guardTimeout = defaultGuardTimeout);
    ~KeychainTokenStore() override;
    KeychainTokenStore(const KeychainTokenStore &) = delete;
    KeychainTokenStore &operator=(const KeychainTokenStore &) = delete;

    QCoro::Task<TokenRead> readEntry(QString account) override;
    // NOLINTNEXTLINE(bugprone-easily-swappable-parameters): the order is the interface's
    QCoro::Task<CredentialStoreState> write(QString value, QString account) override;
    QCoro::Task<CredentialStoreState> deleteItem(QString account) override;
    // Watches for the Secret Service appearing on the session bus and for
    // its collections changing, which is how an unlock shows.
    void watchAvailability(std::function<void()> onChange) override;

    const QString &service() const { return m_service; }

private:
    // A job for the account's item, never allowed to fall back to a plain file.
    template<typename JobType>
    JobType *newJob(const QString &account) const;

    const QString m_service;
    const std::chrono::milliseconds m_guardTimeout;
    std::unique_ptr<SecretServiceWatch> m_watch;
};

} // namespace vorlie
