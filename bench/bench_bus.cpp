// Bus transport throughput: frames sent by BroadcastSocket ("DNS Server" style)
// to a simulated device on 127.0.0.2:6000 and answered back, one at a time,
// compared with a plain QUdpSocket echo of the same sizes in the same run.
//
// Then device replies pushed at the link by a sender thread, 1,000 a second in
// bursts of 1 to 20 frames: over the "Cloud Server" TCP connection (each burst cut
// into writes at random places) and as datagrams ("DNS Server"); replies taken of
// replies sent, and the window thread's CPU time per reply taken, the stream's
// beside the datagrams'.
//
//   bench_bus [frames] [seconds]        (default 100000, 5)

#include "benchsupport.h"
#include "bus/broadcastsocket.h"
#include "simbus.h"
#include "store/globals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>
#include <QUdpSocket>

#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

namespace {

constexpr int StallMs = 3000;

struct Result
{
    bool ok = false;
    double seconds = 0;
};

// Runs the event loop until done() or until nothing has moved for StallMs.
template<typename Progress>
bool runUntil(int target, Progress progress)
{
    QEventLoop loop;
    int lastSeen = -1;
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, &loop, [&] {
        const int now = progress();
        if (now >= target || now == lastSeen)
            loop.quit();
        lastSeen = now;
    });
    watchdog.start(StallMs);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (progress() >= target)
            loop.quit();
    });
    poll.start(1);
    loop.exec();
    return progress() >= target;
}

Result benchTransport(int frames)
{
    SimBus sim;
    if (!sim.listenUdp(QHostAddress(QStringLiteral("127.0.0.2")), 6000)) {
        QTextStream(stderr) << "cannot listen on 127.0.0.2:6000: " << sim.errorString() << '\n';
        return {};
    }
    SimDevice *device = sim.add<SimDevice>(1, 10);
    device->setFirmware("BENCH-FW");

    gl_net_style = NetStyleDnsServer;
    gl_domain_name = QStringLiteral("127.0.0.2");
    gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
    gl_host_ip = QStringLiteral("127.0.0.1");
    BroadcastSocket socket;
    socket.setId(1, 254);
    if (!socket.createSocket()) {
        QTextStream(stderr) << "cannot open the transport\n";
        return {};
    }

    int answered = 0;
    QObject::connect(&socket, &BroadcastSocket::dataIsComming, &socket,
                     [&](quint8 *buffer, qlonglong length) {
                         if (!socket.checkRecvBuff_0xAAAA(buffer, length))
                             return;
                         ++answered;
                         if (answered % 10000 == 0) {
                             sim.clear();
                             device->clearRequests();
                         }
                         if (answered < frames)
                             socket.sendCommand(11, 0xEFFD, 1, 10, nullptr, 0);
                     });
    QElapsedTimer timer;
    timer.start();
    socket.sendCommand(11, 0xEFFD, 1, 10, nullptr, 0);
    const bool ok = runUntil(frames, [&] { return answered; });
    Result result{ok, timer.nsecsElapsed() / 1e9};
    socket.closeSocket();
    return result;
}

Result benchPlainEcho(int frames)
{
    QUdpSocket echo;
    QUdpSocket client;
    if (!echo.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0)
        || !client.bind(QHostAddress(QHostAddress::LocalHost), 0)) {
        QTextStream(stderr) << "cannot bind the echo sockets\n";
        return {};
    }
    const QByteArray request(27, '\x11');
    const QByteArray reply(35, '\x22');
    QObject::connect(&echo, &QUdpSocket::readyRead, &echo, [&] {
        char buffer[8192];
        QHostAddress from;
        quint16 port = 0;
        while (echo.hasPendingDatagrams()) {
            if (echo.readDatagram(buffer, sizeof buffer, &from, &port) >= 0)
                echo.writeDatagram(reply, from, port);
        }
    });
    int answered = 0;
    QObject::connect(&client, &QUdpSocket::readyRead, &client, [&] {
        char buffer[8192];
        while (client.hasPendingDatagrams()) {
            if (client.readDatagram(buffer, sizeof buffer) < 0)
                break;
            ++answered;
            if (answered < frames)
                client.writeDatagram(request, echo.localAddress(), echo.localPort());
        }
    });
    QElapsedTimer timer;
    timer.start();
    client.writeDatagram(request, echo.localAddress(), echo.localPort());
    const bool ok = runUntil(frames, [&] { return answered; });
    return {ok, timer.nsecsElapsed() / 1e9};
}

using bench::threadCpuSeconds;

struct Pushed
{
    int sent = 0;
    int taken = 0;
    double cpuPerFrameUs = 0;
};

// Replies of a lighting module to the own address 1/254, numbered.
QByteArray reply(int i)
{
    return SimFrame::build(QByteArray::fromHex("7f000002"), 1, 20, 0x0001, 0x0034, 1, 254,
                           QByteArray::number(i).rightJustified(6, '0'));
}

// Sends total replies at rate a second in bursts of 1 to 20: one write of each datagram,
// or (stream) the burst's bytes cut at up to two random places.
void push(int fd, bool stream, int total, int rate, const sockaddr_in &to)
{
    std::mt19937 random(7);
    const auto start = std::chrono::steady_clock::now();
    int sent = 0;
    while (sent < total) {
        const int burst = qMin(total - sent, int(random() % 20) + 1);
        QList<QByteArray> writes;
        QByteArray bytes;
        for (int i = 0; i < burst; ++i) {
            if (stream)
                bytes += reply(sent + i);
            else
                writes << reply(sent + i);
        }
        if (stream) {
            int a = int(random() % uint(bytes.size())), b = int(random() % uint(bytes.size()));
            if (a > b)
                std::swap(a, b);
            writes << bytes.left(a) << bytes.mid(a, b - a) << bytes.mid(b);
        }
        for (const QByteArray &piece : qAsConst(writes)) {
            if (piece.isEmpty())
                continue;
            if (stream)
                ::send(fd, piece.constData(), size_t(piece.size()), MSG_NOSIGNAL);
            else
                ::sendto(fd, piece.constData(), size_t(piece.size()), 0,
                         reinterpret_cast<const sockaddr *>(&to), sizeof to);
        }
        sent += burst;
        std::this_thread::sleep_until(start + std::chrono::microseconds(qint64(sent) * 1000000 / rate));
    }
}

Pushed benchPushed(bool stream, int seconds, int rate)
{
    Pushed result;
    result.sent = seconds * rate;
    gl_host_ip = QStringLiteral("127.0.0.1");
    gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
    gl_net_style = stream ? NetStyleCloudServer : NetStyleDnsServer;
    gl_server_ip = QStringLiteral("127.0.0.1");
    gl_domain_name = QStringLiteral("127.0.0.2");

    // The sender's socket: the cloud server listening, or a device on 127.0.0.2.
    const int own = ::socket(AF_INET, stream ? SOCK_STREAM : SOCK_DGRAM, 0);
    const int on = 1;
    ::setsockopt(own, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in at =
        stream ? bench::address("127.0.0.1", BroadcastSocket::CloudPort) : bench::address("127.0.0.2", 0);
    if (::bind(own, reinterpret_cast<const sockaddr *>(&at), sizeof at) != 0
        || (stream && ::listen(own, 1) != 0)) {
        QTextStream(stderr) << "cannot bind the sender (not in a private namespace?)\n";
        ::close(own);
        return result;
    }
    BroadcastSocket socket;
    socket.setId(1, 254);
    socket.setKeepAliveInterval(3600 * 1000);
    if (!socket.createSocket()) {
        QTextStream(stderr) << "cannot open the transport\n";
        ::close(own);
        return result;
    }
    // Ends when every reply is taken, or once nothing more has come for a second
    // after the sender is done: a watchdog once a second is all that runs beside the link.
    QEventLoop loop;
    QObject::connect(&socket, &BroadcastSocket::dataIsComming, &socket,
                     [&](quint8 *buffer, qlonglong length) {
                         if (socket.checkRecvBuff_0xAAAA(buffer, length) && ++result.taken == result.sent)
                             loop.quit();
                     });
    std::atomic<bool> done{false};
    std::thread sender([&] {
        int fd = own;
        if (stream) {
            fd = ::accept(own, nullptr, nullptr);
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        }
        push(fd, stream, result.sent, rate, bench::address("127.0.0.1", BroadcastSocket::BusPort));
        done = true;
        if (fd != own)
            ::close(fd);
    });
    int lastSeen = -1;
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, &loop, [&] {
        if (done && result.taken == lastSeen)
            loop.quit();
        lastSeen = result.taken;
    });
    watchdog.start(1000);
    const double cpu = threadCpuSeconds();
    loop.exec();
    result.cpuPerFrameUs = (threadCpuSeconds() - cpu) * 1e6 / qMax(1, result.taken);
    sender.join();
    socket.closeSocket();
    ::close(own);
    return result;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int frames = 100000;
    if (argc > 1)
        frames = qMax(1, QString::fromLocal8Bit(argv[1]).toInt());
    const int seconds = argc > 2 ? qMax(1, QString::fromLocal8Bit(argv[2]).toInt()) : 5;
    constexpr int Rate = 1000;

    QTextStream out(stdout);
    const Result plain = benchPlainEcho(frames);
    const Result bus = benchTransport(frames);
    if (!plain.ok || !bus.ok) {
        out << "bench_bus: a run stalled (plain " << (plain.ok ? "ok" : "stalled") << ", bus "
            << (bus.ok ? "ok" : "stalled") << ")\n";
        return 1;
    }
    const double plainRate = frames / plain.seconds;
    const double busRate = frames / bus.seconds;
    out << QString::asprintf("plain QUdpSocket echo : %d round trips in %.3f s, %.0f frames/s\n",
                             frames, plain.seconds, plainRate);
    out << QString::asprintf("bus transport + device: %d round trips in %.3f s, %.0f frames/s\n",
                             frames, bus.seconds, busRate);
    out << QString::asprintf("ratio bus / plain echo: %.2f\n", busRate / plainRate);

    const Pushed datagrams = benchPushed(false, seconds, Rate);
    const Pushed stream = benchPushed(true, seconds, Rate);
    out << QString::asprintf("replies as datagrams, %d/s in bursts of 1-20: %d of %d taken, "
                             "%.1f us window CPU per reply\n",
                             Rate, datagrams.taken, datagrams.sent, datagrams.cpuPerFrameUs);
    out << QString::asprintf("replies on the TCP stream, %d/s in bursts of 1-20 cut at random places: "
                             "%d of %d taken, %.1f us window CPU per reply\n",
                             Rate, stream.taken, stream.sent, stream.cpuPerFrameUs);
    out << QString::asprintf("ratio stream / datagram cost per reply: %.2f\n",
                             stream.cpuPerFrameUs / qMax(0.001, datagrams.cpuPerFrameUs));
    return stream.taken == stream.sent && datagrams.taken == datagrams.sent ? 0 : 1;
}
