#pragma once

#include "session/TokenStore.h"

#include <QHash>

namespace vorlie::bench {

// The keychain is not what is measured; the session keeps its tokens in memory.
class MemoryTokenStore final : public TokenStore {
public:
    QCoro::Task<TokenRead> readEntry(QString account) override
    {
        TokenRead entry;
        if (m_items.contains(account))
            entry.token = m_items.value(account);
        co_return entry;
    }
    QCoro::Task<CredentialStoreState> write(QString value, QString account) override
    {
        m_items.insert(account, value);
        co_return CredentialStoreState::available;
    }
    QCoro::Task<CredentialStoreState> deleteItem(QString account) override
    {
        m_items.remove(account);
        co_return CredentialStoreState::available;
    }

private:
    QHash<QString, QString> m_items;
};

} // namespace vorlie::bench
