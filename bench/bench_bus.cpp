// Bus transport throughput: frames sent by BroadcastSocket ("DNS Server" style)
// to a simulated device on 127.0.0.2:6000 and answered back, one at a time,
// compared with a plain QUdpSocket echo of the same sizes in the same run.
//
//   bench_bus [frames]        (default 100000)

#include "bus/broadcastsocket.h"
#include "simbus.h"
#include "store/globals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>
#include <QUdpSocket>

#include <cstdio>

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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int frames = 100000;
    if (argc > 1)
        frames = qMax(1, QString::fromLocal8Bit(argv[1]).toInt());

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
    return 0;
}
