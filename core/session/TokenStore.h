#pragma once

#include <QCoro/QCoroTask>
#include <QString>
#include <optional>

namespace vorlie {

// Persistent storage of the two session tokens under (service, account).
// No operation reports failure: a failed read gives none, a failed write or
// delete leaves the store as it was.
class TokenStore {
public:
    virtual ~TokenStore() = default;

    virtual QCoro::Task<std::optional<QString>> read(QString account) = 0;
    virtual QCoro::Task<void> write(QString value, QString account) = 0;
    virtual QCoro::Task<void> deleteItem(QString account) = 0;
};

} // namespace vorlie
