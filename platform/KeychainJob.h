#pragma once

#include <QCoro/QCoroTask>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

namespace QKeychain {
class Job;
}

namespace vorlie {

// Runs one QtKeychain job under a guard time-out.
//
// The job is never deleted here: its backend may still hold a pointer to it
// in a pending D-Bus callback, so it always deletes itself once it finishes
// (D-Bus calls time out on their own, so even a hung service lets it finish).
// When the guard fires first we simply stop listening to it.
class KeychainJob final : public QObject {
    Q_OBJECT
public:
    // True when the job finished without error within the guard. `onFinished`
    // runs on success while the job still exists, to copy its result out.
    static QCoro::Task<bool> run(QKeychain::Job *job, std::chrono::milliseconds guard,
                                 std::function<void(QKeychain::Job &)> onFinished = {});

signals:
    void settled();

private:
    explicit KeychainJob(std::chrono::milliseconds guard);
    void settle(bool succeeded);

    bool m_settled = false;
    bool m_succeeded = false;
    QTimer m_guard;
};

} // namespace vorlie
