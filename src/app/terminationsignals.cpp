#include "terminationsignals.h"

#include <QDebug>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int Handled[] = {SIGTERM, SIGINT, SIGHUP};
// [0] written by the handler, [1] read by the notifier; -1 when not installed.
int g_pair[2] = {-1, -1};
struct sigaction g_previous[sizeof(Handled) / sizeof(Handled[0])];

extern "C" void writeSignalNumber(int signalNumber)
{
    // Only async-signal-safe calls here; errno is the interrupted code's.
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    const ssize_t written = ::write(g_pair[0], &byte, 1);
    (void)written; // a full pair already holds a pending request
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (g_pair[0] >= 0) {
        qWarning() << "termination signals are already handled";
        return;
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pair) != 0) {
        qWarning() << "cannot handle termination signals:" << strerror(errno);
        g_pair[0] = g_pair[1] = -1;
        return;
    }
    m_notifier = new QSocketNotifier(g_pair[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignals);

    struct sigaction action = {};
    action.sa_handler = writeSignalNumber;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < sizeof(Handled) / sizeof(Handled[0]); ++i)
        ::sigaction(Handled[i], &action, &g_previous[i]);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    for (size_t i = 0; i < sizeof(Handled) / sizeof(Handled[0]); ++i)
        ::sigaction(Handled[i], &g_previous[i], nullptr);
    delete m_notifier;
    m_notifier = nullptr;
    ::close(g_pair[0]);
    ::close(g_pair[1]);
    g_pair[0] = g_pair[1] = -1;
}

void TerminationSignals::readSignals()
{
    unsigned char bytes[16];
    ssize_t n;
    while ((n = ::read(g_pair[1], bytes, sizeof(bytes))) > 0) {
        for (ssize_t i = 0; i < n; ++i) {
            m_received = true;
            emit terminationRequested(bytes[i]);
        }
    }
}
