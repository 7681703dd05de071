#pragma once

#include <QObject>
#include <QString>
#include <QCoro/QCoroTask>
#include <functional>
#include <optional>

namespace vorlie {

// A namespace of its own so that QML can see the enum through its meta-object.
namespace credential_store {
Q_NAMESPACE

// Whether the desktop's credential store took the last token operation.
enum class CredentialStoreState {
    available,   // it answered as asked
    unavailable, // no Secret Service, or it did not answer in time
    locked,      // it is there, but its collection is locked
};
Q_ENUM_NS(CredentialStoreState)

} // namespace credential_store

using credential_store::CredentialStoreState;

// A token read: the token (none when absent or unreadable) and whether the
// store answered at all, so "no token" and "no keychain" stay apart.
struct TokenRead {
    std::optional<QString> token;
    CredentialStoreState store = CredentialStoreState::available;
};

// Persistent storage of the two session tokens under (service, account).
// Every operation says whether the store took it; a failed write or delete
// leaves the store as it was.
class TokenStore {
public:
    virtual ~TokenStore() = default;

    virtual QCoro::Task<TokenRead> readEntry(QString account) = 0;
    virtual QCoro::Task<CredentialStoreState> write(QString value, QString account) = 0;
    virtual QCoro::Task<CredentialStoreState> deleteItem(QString account) = 0;

    // Just the token.
    QCoro::Task<std::optional<QString>> read(QString account)
    {
        const TokenRead entry = co_await readEntry(std::move(account));
        co_return entry.token;
    }

    // `onChange` runs whenever the store may have become usable again (its
    // service appeared, a collection was unlocked); it replaces any earlier one.
    virtual void watchAvailability(std::function<void()> onChange) { static_cast<void>(onChange); }
};

} // namespace vorlie
