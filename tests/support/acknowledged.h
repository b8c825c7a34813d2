#pragma once

// The server's side of a TCP link in a test: what it wrote has reached the program's
// system, every byte acknowledged, before the test ends the link.

#include <QDeadlineTimer>
#include <QTcpSocket>
#include <QThread>

#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

namespace varnotest {

// Waits till peer has written everything and the other side's system has acknowledged
// it (fd: peer's descriptor, or a copy of it); false when that does not come in time.
inline bool acknowledged(QTcpSocket &peer, int fd, const QDeadlineTimer &patience)
{
    for (int queued = 1; queued > 0 || peer.bytesToWrite() > 0; QThread::usleep(100)) {
        if (patience.hasExpired())
            return false;
        peer.flush();
        if (::ioctl(fd, SIOCOUTQ, &queued) != 0)
            return false;
    }
    return true;
}

// The link's close, once its last descriptor is closed, is a reset.
inline bool resetOnClose(int fd)
{
    const linger abort{1, 0};
    return ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort) == 0;
}

} // namespace varnotest
