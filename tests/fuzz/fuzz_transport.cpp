// The transport's own receive paths over fuzzed bytes, through real sockets on
// loopback: datagrams (the "DNS Server" style, from the device address 127.0.0.2
// or from a stranger) read by the link's datagram loop, and a byte stream (the
// "Cloud Server" style, from a server on 127.0.0.1:6010) read by the link's
// stream loop. Whatever the link hands on goes through the frame checks and the
// cards' bounded reply reader, as the receivers do; from the stream, the frame sent
// after the fuzzed bytes must arrive.
//
// Input: one byte that picks the path, then for datagrams a series of
// (flags, 16-bit length, bytes) pieces, for the stream a series of (16-bit length,
// bytes) pieces written one after the other.
//
// Binds the bus ports: runs only inside a private network namespace.

#include "fuzzsupport.h"

#include "bus/broadcastsocket.h"
#include "operation/busreply.h"
#include "store/globals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>

#include <cstdio>
#include <cstdlib>

namespace {

const QHostAddress Device(QStringLiteral("127.0.0.2"));
const QHostAddress Stranger(QStringLiteral("127.0.0.3"));

// The last datagram of every input: a frame the link must hand on. Once it has
// arrived, every datagram before it has been read.
QByteArray sentinel()
{
    static const QByteArray frame = fuzz::frameTo(9, 9, 0xFFFE, QByteArray("end"));
    return frame;
}

struct Link
{
    enum Path { None, Datagrams, Stream };
    Path path = None;
    QUdpSocket fromDevice;
    QUdpSocket fromStranger;
    QTcpServer server;
    QPointer<QTcpSocket> peer;
    qint64 streamBytes = 0;
    bool sentinelSeen = false;
};

Link &link()
{
    static Link &l = *new Link;
    return l;
}

void receive(quint8 *data, qlonglong n)
{
    Link &l = link();
    if (l.path == Link::Stream)
        l.streamBytes += n;
    if (n == sentinel().size() && memcmp(data, sentinel().constData(), size_t(n)) == 0)
        l.sentinelSeen = true;
    gl_socket.checkRecvBuff_0xAAAA(data, n);
    gl_socket.checkRecvBuff_0xBBBB(data, n);
    gl_socket.checkRecvBuff_0xCCCC(data, n);
    const BusReply reply(data, n);
    volatile int sink = reply.frameSize() + reply.payloadSize() + reply.code();
    for (int i = 0; i < reply.payloadSize(); ++i)
        sink = sink + reply.payload(i);
    (void)sink;
}

template<typename Done>
bool pumpUntil(Done done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

[[noreturn]] void giveUp(const char *why)
{
    fprintf(stderr, "fuzz_transport: %s\n", why);
    abort();
}

void openPath(Link::Path path)
{
    Link &l = link();
    if (l.path == path)
        return;
    static bool connected = false;
    if (!connected) {
        connected = true;
        QObject::connect(&gl_socket, &BroadcastSocket::dataIsComming, &receive);
        gl_ip_port_mac = QStringLiteral("00:11:22:33:44:55");
        if (!l.fromDevice.bind(Device, 0) || !l.fromStranger.bind(Stranger, 0))
            giveUp("cannot bind the senders on 127.0.0.2 and 127.0.0.3 (not in a private namespace?)");
        if (!l.server.listen(QHostAddress(QStringLiteral("127.0.0.1")), BroadcastSocket::CloudPort))
            giveUp("cannot listen on 127.0.0.1:6010");
    }
    if (l.peer)
        l.peer->abort();
    delete l.peer;
    if (path == Link::Datagrams) {
        gl_net_style = NetStyleDnsServer;
        gl_domain_name = Device.toString();
    } else {
        gl_net_style = NetStyleCloudServer;
        gl_server_ip = QStringLiteral("127.0.0.1");
    }
    if (!gl_socket.createSocket())
        giveUp("the link did not open");
    if (path == Link::Stream) {
        if (!pumpUntil([&] { return l.server.hasPendingConnections(); }))
            giveUp("the link did not connect");
        l.peer = l.server.nextPendingConnection();
    }
    l.path = path;
}

// Sends the sentinel and waits until the link has handed it on. A datagram can be
// dropped by a full receive buffer, the sentinel too: it is sent again now and then.
void flushDatagrams()
{
    Link &l = link();
    l.sentinelSeen = false;
    for (int attempt = 0; attempt < 10 && !l.sentinelSeen; ++attempt) {
        l.fromDevice.writeDatagram(sentinel(), QHostAddress::LocalHost, BroadcastSocket::BusPort);
        QElapsedTimer clock;
        clock.start();
        while (!l.sentinelSeen && clock.elapsed() < 500)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    if (!l.sentinelSeen)
        giveUp("the link did not hand on the last datagram");
}

void sendDatagrams(fuzz::Input &in)
{
    Link &l = link();
    // A few at a time, so that the receive buffer holds them all.
    int inFlight = 0;
    while (!in.atEnd()) {
        const uint8_t flags = in.byte();
        const int length = in.word() % (BroadcastSocket::BufferSize + 8);
        QByteArray datagram;
        for (int i = 0; i < length && !in.atEnd(); ++i)
            datagram.append(char(in.byte()));
        // Inputs are short: a flag stretches a piece past the largest datagram.
        if (flags & 0x02)
            datagram = datagram.leftJustified(BroadcastSocket::BufferSize + 1 + (flags >> 4), 'Z');
        QUdpSocket &from = (flags & 0x01) ? l.fromStranger : l.fromDevice;
        from.writeDatagram(datagram, QHostAddress::LocalHost, BroadcastSocket::BusPort);
        if (++inFlight == 8) {
            flushDatagrams();
            inFlight = 0;
        }
    }
    flushDatagrams();
}

void sendStream(fuzz::Input &in)
{
    Link &l = link();
    l.streamBytes = 0;
    l.sentinelSeen = false;
    qint64 sent = 0;
    while (!in.atEnd()) {
        const int length = in.word() % (2 * BroadcastSocket::BufferSize);
        QByteArray piece;
        for (int i = 0; i < length && !in.atEnd(); ++i)
            piece.append(char(in.byte()));
        if (piece.isEmpty())
            continue;
        l.peer->write(piece);
        l.peer->flush();
        sent += piece.size();
        QCoreApplication::processEvents();
    }
    // Bytes that start no frame end whatever frame the fuzzed bytes left begun; the
    // sentinel behind them is then taken.
    const QByteArray tail = QByteArray(BroadcastSocket::BufferSize, '\0') + sentinel();
    l.peer->write(tail);
    l.peer->flush();
    sent += tail.size();
    if (!pumpUntil([&] { return l.sentinelSeen; }))
        giveUp("the link did not hand on the frame after the fuzzed bytes");
    if (l.streamBytes > sent)
        giveUp("the link handed on more bytes than were sent");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    fuzz::Input in(data, size);
    if (in.byte() & 1) {
        openPath(Link::Stream);
        sendStream(in);
    } else {
        openPath(Link::Datagrams);
        sendDatagrams(in);
    }
    return 0;
}
