#include "broadcastsocket.h"

#include "bus/crc.h"
#include "bus/localaddress.h"
#include "store/globals.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QHostInfo>
#include <QPointer>
#include <QThread>
#include <QTcpSocket>
#include <QUdpSocket>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The fixed datagram that keeps the link of the two UDP styles alive.
constexpr char KeepAliveText[] = "VARNO-KEEPALIVE-01";
static_assert(sizeof(KeepAliveText) - 1 == 18, "the keep-alive text has 18 bytes");

constexpr char HeaderMark[] = "VOVERUDIZI";

// Smallest length byte of a bus frame: addresses, device type, operation code,
// target and CRC, without payload.
constexpr unsigned int MinFrameLength = 11;
// Smallest 16-bit length of a long frame: the length itself plus the same fields.
constexpr unsigned int MinLongFrameLength = 12;

// What the system holds for a connection, read without waiting: the bytes read, 0 at its
// end or when nothing is there now, -1 on an error.
qint64 receiveNow(int descriptor, char *bytes, size_t size)
{
    while (true) {
        const qint64 got = ::recv(descriptor, bytes, size, MSG_DONTWAIT);
        if (got >= 0 || errno != EINTR)
            return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) ? 0 : got;
    }
}

} // namespace

BroadcastSocket::BroadcastSocket()
    : QObject(nullptr)
{
    connect(&keepAliveTimer, &QTimer::timeout, this, &BroadcastSocket::slotsKeepAlive);
    // A timer, so that the events already queued go first.
    streamTurn.setSingleShot(true);
    streamTurn.setInterval(0);
    connect(&streamTurn, &QTimer::timeout, this, [this] {
        if (tcpSocket)
            readStream(tcpSocket);
    });
}

BroadcastSocket::~BroadcastSocket()
{
    // Nobody is left to tell about the connection we drop ourselves, nor to take
    // what it holds.
    tcpConnected = false;
    closeLink();
}

void BroadcastSocket::reportConnectState(const QString &text)
{
    emit signalsNetworkConnectState(false, text);
}

bool BroadcastSocket::createSocket()
{
    closeSocket();
    linkStyle = gl_net_style;

    switch (gl_net_style) {
    case NetStyleDnsServer:
        if (gl_domain_name.isEmpty()) {
            reportConnectState(tr("invalid domain name by router!"));
            return false;
        }
        if (gl_ip_port_mac.isEmpty()) {
            reportConnectState(tr("invalid mac address!"));
            return false;
        }
        if (!parseHostName(gl_domain_name)) {
            reportConnectState(QString::asprintf("failed to parse host name %s!",
                                                 gl_domain_name.toUtf8().constData()));
            return false;
        }
        if (!openUdpSocket())
            return false;
        destination = QHostAddress(resolvedDnsIp);
        break;

    case NetStyleCloudServer:
        if (gl_server_ip.isEmpty()) {
            reportConnectState(tr("invalid server ip or domain name!"));
            return false;
        }
        if (gl_ip_port_mac.isEmpty()) {
            reportConnectState(tr("invalid mac address!"));
            return false;
        }
        if (!parseHostName(gl_server_ip)) {
            reportConnectState(QString::asprintf("failed to parse host name %s!",
                                                 gl_server_ip.toUtf8().constData()));
            return false;
        }
        tcpSocket = new QTcpSocket(this);
        // Bounded, so that a sender faster than the program is held back by TCP.
        tcpSocket->setReadBufferSize(StreamReadBuffer);
        connect(tcpSocket, &QTcpSocket::readyRead, this, &BroadcastSocket::readyRead);
        connect(tcpSocket, &QTcpSocket::disconnected, this, &BroadcastSocket::disconnected);
        connect(tcpSocket, &QTcpSocket::errorOccurred, this,
                [this, socket = tcpSocket] { keepReceived(socket); });
        tcpSocket->connectToHost(resolvedServerIp, CloudPort, QIODevice::ReadWrite,
                                 QAbstractSocket::AnyIPProtocol);
        if (!tcpSocket->waitForConnected(3000)) {
            reportConnectState(QString::asprintf("failed to connect to %s!",
                                                 resolvedServerIp.toUtf8().constData()));
            return false;
        }
        // Answers go out at once, not behind the acknowledgement of the one before.
        tcpSocket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        // What the system holds for us is bounded too (see keepReceived).
        tcpSocket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, StreamReadBuffer);
        // Qt closes its descriptor inside a read or write that fails, before it says so:
        // what the system has received by then is reached through a descriptor of our own.
        streamDescriptor = ::fcntl(int(tcpSocket->socketDescriptor()), F_DUPFD_CLOEXEC, 0);
        if (streamDescriptor < 0)
            qDebug() << "no descriptor of our own for the stream:" << strerror(errno);
        destination = QHostAddress(resolvedServerIp);
        tcpConnected = true;
        break;

    case NetStyleLocalNetwork:
        destination = getBroadcastIp();
        if (!openUdpSocket())
            return false;
        break;

    default:
        break;
    }

    initProtocal();
    keepAliveTimer.stop();
    keepAliveTimer.start(keepAliveMs);
    return true;
}

bool BroadcastSocket::openUdpSocket()
{
    udpSocket = new QUdpSocket(this);
    connect(udpSocket, &QUdpSocket::readyRead, this, &BroadcastSocket::readyRead);
    // IPv4 only: senders then read as plain dotted quads, which is what the
    // sender screen compares with.
    if (!udpSocket->bind(QHostAddress::AnyIPv4, BusPort,
                         QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)) {
        reportConnectState(QString::asprintf("failed to bind %d!", int(BusPort)));
        return false;
    }
    return true;
}

void BroadcastSocket::closeSocket()
{
    // The program drops this connection itself: its end is nothing to report. A link
    // is never cleared with frames in it.
    tcpConnected = false;
    handOnHeld();
    closeLink();
}

void BroadcastSocket::closeLink()
{
    if (udpSocket) {
        QUdpSocket *socket = udpSocket;
        udpSocket = nullptr;
        // A bound datagram socket answers isOpen() false; it is closed all the same, so
        // that the system queues nothing more into a socket nobody reads.
        socket->abort();
        socket->deleteLater();
    }
    // A new connection starts a new stream. What is left of this one is no whole frame,
    // or came from a sender that goes on writing past what the system held.
    streamTurn.stop();
    streamFrames.clear();
    if (tcpSocket) {
        QTcpSocket *socket = tcpSocket;
        tcpSocket = nullptr;
        if (socket->isValid()) {
            socket->flush();
            letAnswersOut();
        }
        if (socket->isOpen())
            socket->abort();
        socket->deleteLater();
    }
    // The connection ends only once this descriptor is closed too.
    releaseStreamDescriptor(false);
}

void BroadcastSocket::letAnswersOut()
{
    // Closed with bytes unread, the connection is reset, and what the system still
    // queues to send (answers written just before) is discarded: it gets a short while
    // to go out first.
    if (streamDescriptor < 0)
        return;
    ::shutdown(streamDescriptor, SHUT_WR);
    QElapsedTimer waited;
    waited.start();
    int queued = 0;
    while (::ioctl(streamDescriptor, SIOCOUTQ, &queued) == 0 && queued > 0 && waited.elapsed() < SendGraceMs)
        QThread::usleep(500);
}

void BroadcastSocket::releaseStreamDescriptor(bool keep)
{
    if (streamDescriptor < 0)
        return;
    // What the system still holds for the connection: no more than its bounded receive
    // buffer, read without waiting. The bound holds even for a sender still writing.
    char bytes[BufferSize];
    qint64 got = 0;
    for (qint64 total = 0; keep && total < 4 * StreamReadBuffer; total += got) {
        got = receiveNow(streamDescriptor, bytes, sizeof bytes);
        if (got <= 0)
            break;
        streamFrames.append(bytes, int(got));
    }
    ::close(streamDescriptor);
    streamDescriptor = -1;
}

bool BroadcastSocket::parseHostName(const QString &name)
{
    QString *field = nullptr;
    if (gl_net_style == NetStyleDnsServer)
        field = &resolvedDnsIp;
    else if (gl_net_style == NetStyleCloudServer)
        field = &resolvedServerIp;
    else
        return false;

    field->clear();
    const QList<QHostAddress> addresses = QHostInfo::fromName(name).addresses();
    if (addresses.isEmpty())
        return false;
    // The bus sockets speak IPv4; an IPv6 address is taken only when the name
    // has no IPv4 one.
    QHostAddress chosen = addresses.first();
    for (const QHostAddress &address : addresses) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol) {
            chosen = address;
            break;
        }
    }
    *field = ipv4Text(chosen);
    return true;
}

void BroadcastSocket::initProtocal()
{
    unsigned char ip[4];
    ipv4TextToBytes(gl_host_ip, ip);
    std::memcpy(sendBuff, ip, 4);
    std::memcpy(sendBuff + 4, HeaderMark, 10);
    sendBuff[14] = 0xAA;
    sendBuff[15] = 0xAA;
    sendLength = 16;
}

bool BroadcastSocket::fillFrame(unsigned char length, unsigned short code, unsigned char subnet,
                                unsigned char device, const unsigned char *payload, unsigned int n)
{
    if (n > unsigned(MaxPayload) || unsigned(length) != MinFrameLength + n || (n > 0 && !payload)) {
        qDebug() << "frame refused: length byte" << length << "does not fit a payload of" << n
                 << "bytes";
        return false;
    }
    sendBuff[16] = length;
    sendBuff[17] = subnetId;
    sendBuff[18] = deviceId;
    sendBuff[19] = 0xCC;
    sendBuff[20] = 0xC2;
    sendBuff[21] = static_cast<unsigned char>(code >> 8);
    sendBuff[22] = static_cast<unsigned char>(code & 0xFF);
    sendBuff[23] = subnet;
    sendBuff[24] = device;
    sendLength = 25;
    for (unsigned int i = 0; i < n; ++i) {
        if (sendLength < BufferSize - 1)
            sendBuff[sendLength++] = payload[i];
    }
    return true;
}

void BroadcastSocket::sendCommand(unsigned char length, unsigned short code, unsigned char subnet,
                                  unsigned char device, unsigned char *payload, unsigned int n)
{
    if (fillFrame(length, code, subnet, device, payload, n))
        send();
}

void BroadcastSocket::setSendBuff(unsigned char length, unsigned short code, unsigned char subnet,
                                  unsigned char device, unsigned char *payload, unsigned int n)
{
    fillFrame(length, code, subnet, device, payload, n);
}

void BroadcastSocket::send()
{
    // The CRC goes where the length byte says; a frame whose length byte does
    // not describe the bytes built is not sent.
    const unsigned int length = sendBuff[16];
    if (length < MinFrameLength || sendLength + 2 != 16 + static_cast<long long>(length)) {
        qDebug() << "frame not sent: length byte" << length << "for" << sendLength << "bytes";
        return;
    }
    packCrc(sendBuff + 16, static_cast<unsigned short>(length - 2));
    send(sendBuff, sendLength + 2);
}

void BroadcastSocket::send(unsigned char *data, long long len)
{
    if (!data || len < 1)
        return;
    // By the link that is open: until it is made anew after a change of style, what
    // it hands on is answered on it.
    if (!tcpSocket) {
        if (!udpSocket || !udpSocket->isValid()
            || udpSocket->state() != QAbstractSocket::BoundState)
            return;
        writeDatagrams(data, len, destination, BusPort);
        return;
    }

    if (!tcpSocket->isValid() || !tcpSocket->isOpen())
        return;
    if (!tcpSocket->isWritable()) {
        reportConnectState(QString::asprintf("disconnect from %s,can not write data!",
                                             resolvedServerIp.toUtf8().constData()));
        return;
    }
    long long written = 0;
    while (written < len) {
        const qint64 n = tcpSocket->write(reinterpret_cast<const char *>(data) + written,
                                          len - written);
        if (n <= 0)
            break;
        written += n;
    }
    tcpSocket->flush();
    if (written != len) {
        qDebug() << QStringLiteral("failed to send data to %1:%2 [%3]")
                        .arg(destination.toString(), QString::number(CloudPort), QString::number(written));
    }
}

void BroadcastSocket::send(unsigned char *data, long long len, QHostAddress address,
                           unsigned short port)
{
    if (!data || len < 1)
        return;
    if (!udpSocket || !udpSocket->isValid() || udpSocket->state() != QAbstractSocket::BoundState)
        return;
    writeDatagrams(data, len, address, port);
}

void BroadcastSocket::writeDatagrams(const unsigned char *data, long long len,
                                     const QHostAddress &address, unsigned short port)
{
    long long written = 0;
    while (written < len) {
        const qint64 n = udpSocket->writeDatagram(reinterpret_cast<const char *>(data) + written,
                                                  len - written, address, port);
        if (n <= 0)
            break;
        written += n;
    }
    if (written < len) {
        qDebug() << QStringLiteral("failed to send data to %1:%2 [%3]")
                        .arg(address.toString(), QString::number(port), QString::number(written));
    }
}

bool BroadcastSocket::isValid(QHostAddress sender, unsigned char *buf, long long n)
{
    return isValidFor(gl_net_style, sender, buf, n);
}

bool BroadcastSocket::isValidFor(int style, const QHostAddress &sender, unsigned char *buf, long long n)
{
    switch (style) {
    case NetStyleDnsServer: {
        const QString from = ipv4Text(sender);
        return !from.isEmpty() && (from == gl_host_ip || from == resolvedDnsIp);
    }
    case NetStyleCloudServer: {
        const QString from = ipv4Text(sender);
        return !from.isEmpty() && (from == gl_host_ip || from == resolvedServerIp);
    }
    default: {
        // Login answers are always heard; otherwise only the server and DNS
        // addresses of earlier openings are shut out.
        if (resolvedServerIp.isEmpty() && resolvedDnsIp.isEmpty())
            return true;
        if (checkRecvBuff_0xCCCC(buf, n))
            return true;
        const QString from = ipv4Text(sender);
        if (!resolvedServerIp.isEmpty() && resolvedServerIp == from)
            return false;
        if (!resolvedDnsIp.isEmpty() && resolvedDnsIp == from)
            return false;
        return true;
    }
    }
}

void BroadcastSocket::resetSendBuff()
{
    std::memset(sendBuff + 16, 0, BufferSize - 16);
    sendLength = 16;
}

bool BroadcastSocket::push(unsigned char byte)
{
    if (sendLength > BufferSize - 2)
        return false;
    sendBuff[sendLength++] = byte;
    return true;
}

bool BroadcastSocket::setTxBuffs(unsigned char *data, unsigned int n)
{
    // The body is at least length, operation code and target.
    if (!data || n < 5)
        return false;
    if (sendLength + n > BufferSize - 4)
        return false;
    sendBuff[sendLength++] = data[0];
    sendBuff[sendLength++] = subnetId;
    sendBuff[sendLength++] = deviceId;
    sendBuff[sendLength++] = 0xFF;
    sendBuff[sendLength++] = 0xFE;
    for (unsigned int i = 1; i < n; ++i) {
        if (sendLength < BufferSize - 1)
            sendBuff[sendLength++] = data[i];
    }
    return true;
}

void BroadcastSocket::setId(unsigned char subnet, unsigned char device)
{
    subnetId = subnet;
    deviceId = device;
}

void BroadcastSocket::getId(unsigned char &subnet, unsigned char &device)
{
    subnet = subnetId;
    device = deviceId;
}

bool BroadcastSocket::checkRecvBuff_0xAAAA(unsigned char *buf, long long n)
{
    if (!buf || n < 27)
        return false;
    if (buf[14] != 0xAA || buf[15] != 0xAA)
        return false;
    // The CRC range comes from the length byte: it must describe a whole frame
    // that lies within the received bytes.
    const unsigned int length = buf[16];
    if (length < MinFrameLength || 16 + static_cast<long long>(length) > n)
        return false;
    if (!checkCrc(buf + 16, static_cast<unsigned short>(length - 2)))
        return false;
    const unsigned char targetSubnet = buf[23];
    const unsigned char targetDevice = buf[24];
    if (targetSubnet == subnetId && targetDevice == deviceId)
        return true;
    return targetSubnet == 0xFF && targetDevice == 0xFF;
}

bool BroadcastSocket::checkRecvBuff_0xBBBB(unsigned char *buf, long long n)
{
    if (!buf || n < 36)
        return false;
    if (buf[14] != 0xBB || buf[15] != 0xBB)
        return false;
    const unsigned int length = (unsigned(buf[16]) << 8) | buf[17];
    if (length < MinLongFrameLength || 16 + static_cast<long long>(length) > n)
        return false;
    return checkCrc(buf + 16, static_cast<unsigned short>(length - 2));
}

bool BroadcastSocket::checkRecvBuff_0xCCCC(unsigned char *buf, long long n)
{
    if (!buf || n < 9 || n - 2 > 0xFFFF)
        return false;
    if (buf[0] != 0xCC || buf[1] != 0xCC)
        return false;
    return checkCrc(buf, static_cast<unsigned short>(n - 2));
}

qint64 BroadcastSocket::streamBytesHeld() const
{
    return (tcpSocket && tcpSocket->isOpen() ? tcpSocket->bytesAvailable() : 0) + streamFrames.buffered();
}

void BroadcastSocket::setKeepAliveInterval(int ms)
{
    keepAliveMs = ms > 0 ? ms : KeepAliveMs;
    if (keepAliveTimer.isActive())
        keepAliveTimer.start(keepAliveMs);
}

void BroadcastSocket::slotsKeepAlive()
{
    if (gl_net_style == NetStyleCloudServer)
        return;
    unsigned char data[18];
    std::memcpy(data, KeepAliveText, sizeof data);
    send(data, sizeof data);
}

void BroadcastSocket::readyRead()
{
    QObject *source = sender();
    if (auto *udp = qobject_cast<QUdpSocket *>(source))
        readDatagrams(udp, MaxDatagramsPerTurn);
    else if (auto *tcp = qobject_cast<QTcpSocket *>(source))
        readStream(tcp);
}

void BroadcastSocket::readDatagrams(QUdpSocket *socket, int limit)
{
    // A receiver may reopen the link while it handles a datagram: reading stops
    // as soon as this socket is no longer the current one.
    QPointer<QUdpSocket> guard(socket);
    // One byte more than a datagram may hold: a read that fills it was cut from
    // an oversized datagram.
    unsigned char buffer[BufferSize + 1];
    // A busy bus must not hold the event loop: after a batch the rest waits for
    // the next turn (the socket signals again while datagrams are waiting).
    int batch = 0;
    while (guard && socket == udpSocket && batch++ < limit
           && socket->hasPendingDatagrams()) {
        QHostAddress from;
        quint16 port = 0;
        // Every datagram is read, so that an empty or oversized one is dropped
        // instead of blocking the ones behind it.
        const qint64 got = socket->readDatagram(reinterpret_cast<char *>(buffer), BufferSize + 1,
                                                &from, &port);
        if (got < 0)
            break;
        if (got < 1 || got > BufferSize)
            continue;
        // Behind the bytes read, up to the longest frame a length byte can
        // describe, a receiver finds zeros, as it always has.
        if (got < MaxFrameSpan)
            std::memset(buffer + got, 0, size_t(MaxFrameSpan - got));
        // Screened as the link was opened: the style may have changed since.
        if (isValidFor(linkStyle, from, buffer, got))
            emit dataIsComming(buffer, got);
    }
}

void BroadcastSocket::readStream(QTcpSocket *socket)
{
    // A receiver may reopen the link while it handles a frame: reading stops as
    // soon as this socket is no longer the current one.
    QPointer<QTcpSocket> guard(socket);
    unsigned char frame[BufferSize];
    // Each whole frame of the stream is handed on once, as a datagram is. A busy
    // link must not hold the event loop: a turn hands on one batch and reads at
    // most once, and the rest waits for the next turn; meanwhile the socket's
    // bounded buffer holds the sender back.
    int batch = 0;
    bool read = false;
    while (guard && socket == tcpSocket) {
        if (batch == MaxDatagramsPerTurn) {
            streamTurn.start();
            return;
        }
        const int size = streamFrames.take(frame);
        if (size == 0) {
            // A socket closed after a failure has nothing more; the next bytes of an
            // open one announce themselves.
            if (!socket->isOpen() || socket->bytesAvailable() <= 0)
                return;
            if (read) {
                streamTurn.start();
                return;
            }
            read = true;
            // Kept only once the read has returned: a failure the socket reports
            // meanwhile keeps what it holds too (keepReceived).
            char bytes[StreamFrames::MaxFrame];
            const qint64 got = socket->read(bytes, sizeof bytes);
            if (got <= 0)
                return;
            streamFrames.append(bytes, int(got));
            continue;
        }
        ++batch;
        handOnFrame(frame, size);
    }
}

void BroadcastSocket::handOnFrame(unsigned char *frame, int size)
{
    // Behind the frame, up to the longest frame a length byte can describe, a
    // receiver finds zeros.
    if (size < MaxFrameSpan)
        std::memset(frame + size, 0, size_t(MaxFrameSpan - size));
    emit dataIsComming(frame, size);
}

void BroadcastSocket::handOnHeld()
{
    // A receiver may close the link or make it anew meanwhile: handing on stops as
    // soon as these sockets are no longer the link's.
    if (udpSocket)
        readDatagrams(udpSocket, MaxHeldDatagrams);
    QTcpSocket *const socket = tcpSocket;
    if (!socket)
        return;
    streamTurn.stop();
    QPointer<QTcpSocket> guard(socket);
    unsigned char frame[BufferSize];
    qint64 fromSystem = 0;
    while (guard && socket == tcpSocket) {
        if (const int size = streamFrames.take(frame)) {
            handOnFrame(frame, size);
            continue;
        }
        // Qt's bytes came before the system's. A failure that an answer meets moves
        // what is left into the kept bytes and closes our descriptor (keepReceived).
        char bytes[StreamFrames::MaxFrame];
        qint64 got = 0;
        if (socket->isOpen() && socket->bytesAvailable() > 0) {
            got = socket->read(bytes, sizeof bytes);
        } else if (streamDescriptor >= 0 && fromSystem < 4 * StreamReadBuffer) {
            got = receiveNow(streamDescriptor, bytes, sizeof bytes);
            fromSystem += qMax<qint64>(0, got);
        }
        if (got <= 0)
            return;
        streamFrames.append(bytes, int(got));
    }
}

void BroadcastSocket::keepReceived(QTcpSocket *socket)
{
    // A failed write (the server has reset the connection) makes Qt close the socket
    // right after this, and drop what it has read; a reset seen on reading, or the
    // server's close, leaves it. Either way what has come is kept, Qt's bytes before
    // the system's, and handed on frame by frame. Qt's descriptor may be closed by
    // now: ours reaches the rest.
    if (!socket || socket != tcpSocket)
        return;
    // An error that leaves the link open and Qt's descriptor valid ends nothing.
    if (socket->isValid() && socket->state() == QAbstractSocket::ConnectedState)
        return;
    char bytes[BufferSize];
    qint64 got = 0;
    while (socket->isOpen() && socket->bytesAvailable() > 0 && (got = socket->read(bytes, sizeof bytes)) > 0)
        streamFrames.append(bytes, int(got));
    releaseStreamDescriptor(true);
    if (streamFrames.buffered() > 0)
        streamTurn.start();
}

void BroadcastSocket::disconnected()
{
    keepReceived(qobject_cast<QTcpSocket *>(sender()));
    if (tcpConnected) {
        reportConnectState(QString::asprintf("disconnect from %s!",
                                             resolvedServerIp.toUtf8().constData()));
    }
}
