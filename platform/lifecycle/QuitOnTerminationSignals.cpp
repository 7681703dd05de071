#include "QuitOnTerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <array>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vorlie {
namespace {

constexpr std::array handledSignals{SIGTERM, SIGINT, SIGHUP};

// A handler may only do async-signal-safe work: it wakes the event loop
// through this socket and Qt quits from there.
int signalSocket[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[0], &byte, 1);
}

} // namespace

QuitOnTerminationSignals::QuitOnTerminationSignals(QObject *parent) : QObject(parent)
{
    if (signalSocket[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSocket) != 0)
        return;
    m_notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        while (::read(signalSocket[1], &byte, 1) > 0) {
        }
        m_notifier->setEnabled(false);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (const int number : handledSignals)
        ::sigaction(number, &action, nullptr);
}

QuitOnTerminationSignals::~QuitOnTerminationSignals()
{
    if (!m_notifier)
        return;
    for (const int number : handledSignals)
        std::signal(number, SIG_DFL);
    delete m_notifier;
    ::close(signalSocket[0]);
    ::close(signalSocket[1]);
    signalSocket[0] = signalSocket[1] = -1;
}

} // namespace vorlie
