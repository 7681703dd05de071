#pragma once

#include <QCoro/QCoroTask>
#include <QObject>
#include <QString>
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
    struct Outcome {
        bool answered = false; // false when the guard fired first
        int error = 0;         // a QKeychain::Error
        QString message;
    };

    // How the job ended. `onFinished` runs on success while the job still
    // exists, to copy its result out.
    static QCoro::Task<Outcome> run(QKeychain::Job *job, std::chrono::milliseconds guard,
                                    std::function<void(QKeychain::Job &)> onFinished = {});

signals:
    void settled();

private:
    explicit KeychainJob(std::chrono::milliseconds guard);
    void settle(Outcome outcome);

    bool m_settled = false;
    Outcome m_outcome;
    QTimer m_guard;
};

} // namespace vorlie
