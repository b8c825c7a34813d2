#include "simbus.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>

#include <chrono>
#include <cstring>

#ifdef Q_OS_LINUX
#include <sys/socket.h>
#include <sys/types.h>
#include <time.h>
#endif

namespace {

constexpr int MaxDatagram = 65536;
constexpr const char *PendingProperty = "simPending";

// Length of the bus frame at the start of buffer: 0 while it may still be
// incomplete, -1 when the buffer does not start with a whole-looking frame.
int frameSpan(const QByteArray &buffer)
{
    // A login frame carries its whole length in bytes 2-3.
    if (buffer.size() >= 4 && quint8(buffer.at(0)) == 0xCC && quint8(buffer.at(1)) == 0xCC) {
        const int length = (quint8(buffer.at(2)) << 8) | quint8(buffer.at(3));
        if (length >= 9)
            return buffer.size() >= length ? length : 0;
    }
    if (buffer.size() < 16)
        return 0;
    if (quint8(buffer.at(14)) != 0xAA || quint8(buffer.at(15)) != 0xAA)
        return -1;
    if (buffer.size() < 17)
        return 0;
    const int length = quint8(buffer.at(16));
    if (length < 11)
        return -1;
    return buffer.size() >= 16 + length ? 16 + length : 0;
}

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The kernel's receive time of the datagram waiting on fd, read without taking
// it; 0 when the system does not tell.
qint64 kernelArrivalNs(qintptr fd)
{
#if defined(Q_OS_LINUX) && defined(SO_TIMESTAMPNS)
    char byte;
    iovec io{&byte, 1};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec))];
    msghdr msg{};
    msg.msg_iov = &io;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof(control);
    if (::recvmsg(int(fd), &msg, MSG_PEEK | MSG_DONTWAIT) < 0)
        return 0;
    for (cmsghdr *c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c)) {
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
            timespec ts;
            std::memcpy(&ts, CMSG_DATA(c), sizeof(ts));
            return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
        }
    }
#else
    Q_UNUSED(fd)
#endif
    return 0;
}

} // namespace

SimBus::SimBus(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<SimFrame>("SimFrame");
}

SimBus::~SimBus()
{
    close();
}

bool SimBus::listenUdp(const QHostAddress &address, quint16 port)
{
    m_udp = new QUdpSocket(this);
    if (!m_udp->bind(address, port, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)) {
        m_error = m_udp->errorString();
        delete m_udp;
        m_udp = nullptr;
        return false;
    }
    connect(m_udp, &QUdpSocket::readyRead, this, &SimBus::readUdp);
#if defined(Q_OS_LINUX) && defined(SO_TIMESTAMPNS)
    const int on = 1;
    ::setsockopt(int(m_udp->socketDescriptor()), SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof(on));
#endif
    m_listenAddress = address;
    setHeaderAddress(address);
    return true;
}

bool SimBus::listenTcp(const QHostAddress &address, quint16 port)
{
    m_server = new QTcpServer(this);
    if (!m_server->listen(address, port)) {
        m_error = m_server->errorString();
        delete m_server;
        m_server = nullptr;
        return false;
    }
    connect(m_server, &QTcpServer::newConnection, this, &SimBus::acceptClients);
    m_listenAddress = address;
    setHeaderAddress(address);
    return true;
}

void SimBus::close()
{
    const QList<QTcpSocket *> clients = m_clients;
    m_clients.clear();
    for (QTcpSocket *client : clients) {
        client->disconnect(this);
        client->abort();
        client->deleteLater();
    }
    delete m_server;
    m_server = nullptr;
    delete m_udp;
    m_udp = nullptr;
}

void SimBus::setHeaderAddress(const QHostAddress &address)
{
    m_headerIp = SimFrame::ipBytes(address);
    for (const auto &device : m_devices)
        device->setHeaderIp(m_headerIp);
}

SimDevice *SimBus::addDevice(std::unique_ptr<SimDevice> device)
{
    device->setHeaderIp(m_headerIp);
    m_devices.push_back(std::move(device));
    return m_devices.back().get();
}

SimDevice *SimBus::device(quint8 subnet, quint8 deviceId) const
{
    for (const auto &device : m_devices) {
        if (device->subnet() == subnet && device->device() == deviceId)
            return device.get();
    }
    return nullptr;
}

QList<SimFrame> SimBus::framesWithCode(quint16 code) const
{
    QList<SimFrame> found;
    for (const SimFrame &frame : m_frames) {
        if (frame.kind == SimFrame::Bus && frame.code == code)
            found.append(frame);
    }
    return found;
}

QList<SimFrame> SimBus::busFrames() const
{
    QList<SimFrame> found;
    for (const SimFrame &frame : m_frames) {
        if (frame.kind == SimFrame::Bus)
            found.append(frame);
    }
    return found;
}

void SimBus::pump(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QEventLoop loop;
        QTimer::singleShot(qMin<qint64>(10, qMax<qint64>(1, ms - timer.elapsed())), &loop,
                           &QEventLoop::quit);
        loop.exec();
    }
}

bool SimBus::waitForFrames(int count, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (m_frames.size() < count && timer.elapsed() < timeoutMs)
        pump(5);
    return m_frames.size() >= count;
}

bool SimBus::takeArrived(int waitMs, quint16 code, int count)
{
    const auto enough = [&] {
        return count > 0 && (code ? framesWithCode(code).size() : busFrames().size()) >= count;
    };
    QDeadlineTimer deadline(waitMs);
    readUdp();
    while (m_udp && !enough() && !deadline.hasExpired()) {
        m_udp->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        readUdp();
    }
    return count <= 0 || enough();
}

bool SimBus::waitForClient(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (m_clients.isEmpty() && timer.elapsed() < timeoutMs)
        pump(5);
    return !m_clients.isEmpty();
}

void SimBus::readUdp()
{
    while (m_udp && m_udp->hasPendingDatagrams()) {
        // Read into one buffer of the largest size, made once, so that a busy bus
        // neither allocates nor clears it for every frame.
        if (m_readBuffer.size() != MaxDatagram)
            m_readBuffer = QByteArray(MaxDatagram, Qt::Uninitialized);
        QHostAddress sender;
        quint16 port = 0;
        const qint64 arrival = kernelArrivalNs(m_udp->socketDescriptor());
        const qint64 got = m_udp->readDatagram(m_readBuffer.data(), MaxDatagram, &sender, &port);
        if (got < 0)
            break;
        const QByteArray bytes(m_readBuffer.constData(), int(got));
        SimFrame frame = SimFrame::parse(bytes);
        frame.sender = sender;
        frame.senderPort = port;
        frame.arrivalNs = arrival;
        m_lastSender = sender;
        m_lastPort = port;
        record(frame, nullptr);
    }
}

void SimBus::acceptClients()
{
    while (m_server && m_server->hasPendingConnections()) {
        QTcpSocket *client = m_server->nextPendingConnection();
        // An answer goes out as it is flushed, not held back behind the one before (Nagle): what
        // the devices have said they sent is on its way.
        client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        m_clients.append(client);
        connect(client, &QTcpSocket::readyRead, this, [this, client] { readClient(client); });
        connect(client, &QTcpSocket::disconnected, this, [this, client] {
            m_clients.removeAll(client);
            client->deleteLater();
        });
    }
}

void SimBus::readClient(QTcpSocket *client)
{
    QByteArray pending = client->property(PendingProperty).toByteArray();
    pending.append(client->readAll());
    for (;;) {
        const int span = frameSpan(pending);
        if (span == 0)
            break;
        int take = span;
        if (span < 0) {
            // Not a bus frame: up to the next frame header, if there is one.
            const int next = pending.indexOf("VOVERUDIZI", 5);
            take = next >= 5 ? next - 4 : pending.size();
        }
        SimFrame frame = SimFrame::parse(pending.left(take));
        pending.remove(0, take);
        frame.sender = client->peerAddress();
        frame.senderPort = client->peerPort();
        record(frame, client);
        if (pending.isEmpty())
            break;
    }
    client->setProperty(PendingProperty, pending);
    if (!pending.isEmpty()) {
        // A piece shorter than a header that never grows is recorded as it is.
        QPointer<QTcpSocket> guard(client);
        QTimer::singleShot(100, this, [this, guard] {
            if (guard)
                flushPartial(guard);
        });
    }
}

void SimBus::flushPartial(QTcpSocket *client)
{
    const QByteArray pending = client->property(PendingProperty).toByteArray();
    if (pending.isEmpty() || frameSpan(pending) != 0 || pending.size() >= 16)
        return;
    client->setProperty(PendingProperty, QByteArray());
    SimFrame frame = SimFrame::parse(pending);
    frame.sender = client->peerAddress();
    frame.senderPort = client->peerPort();
    record(frame, client);
}

void SimBus::record(SimFrame frame, QTcpSocket *client)
{
    if (frame.arrivalNs == 0)
        frame.arrivalNs = nowNs();
    m_frames.append(frame);
    emit frameReceived(frame);
    if (frame.kind == SimFrame::Login && m_login) {
        const QList<SimOutput> outputs = m_login->respond(frame);
        for (const SimOutput &output : outputs)
            deliver(output, frame.sender, frame.senderPort, client);
        return;
    }
    if (frame.kind != SimFrame::Bus || !frame.valid)
        return;
    for (const auto &device : m_devices) {
        if (!device->accepts(frame))
            continue;
        const QList<SimOutput> outputs = device->respond(frame);
        for (const SimOutput &output : outputs)
            deliver(output, frame.sender, frame.senderPort, client);
    }
}

void SimBus::deliver(const SimOutput &output, const QHostAddress &address, quint16 port,
                     QTcpSocket *client)
{
    QPointer<QTcpSocket> guard(client);
    const bool overTcp = client != nullptr;
    auto send = [this, output, address, port, guard, overTcp] {
        if (overTcp) {
            if (guard && guard->state() == QAbstractSocket::ConnectedState) {
                guard->write(output.bytes);
                guard->flush();
            }
        } else if (m_udp) {
            m_udp->writeDatagram(output.bytes, address, port);
        }
        emit bytesSent(output.bytes);
    };
    if (output.delayMs > 0)
        QTimer::singleShot(output.delayMs, this, send);
    else
        send();
}

void SimBus::sendRaw(const QByteArray &bytes)
{
    if (m_udp && !m_lastSender.isNull()) {
        m_udp->writeDatagram(bytes, m_lastSender, m_lastPort);
        emit bytesSent(bytes);
        return;
    }
    for (QTcpSocket *client : qAsConst(m_clients)) {
        client->write(bytes);
        client->flush();
    }
    if (!m_clients.isEmpty())
        emit bytesSent(bytes);
}

void SimBus::sendRaw(const QByteArray &bytes, const QHostAddress &address, quint16 port)
{
    if (!m_udp)
        return;
    m_udp->writeDatagram(bytes, address, port);
    emit bytesSent(bytes);
}

void SimBus::disconnectClients()
{
    const QList<QTcpSocket *> clients = m_clients;
    for (QTcpSocket *client : clients)
        client->disconnectFromHost();
}

SimLoginServer &SimBus::loginServer()
{
    if (!m_login)
        m_login = std::make_unique<SimLoginServer>();
    return *m_login;
}
