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
// Then the stream's splitter alone over 8 MiB of each of several patterns (valid
// frames, garbage, bytes that only look like frame starts), as a ratio to one CRC
// pass over the same bytes; and a sender writing as fast as the TCP link takes for
// a while, the costliest pattern and valid frames: the bytes the link held at most,
// the program's resident memory, and how late a frame written after it arrives.
//
//   bench_bus [frames] [seconds] [flood seconds]   (default 100000, 5, 30)

#include "benchsupport.h"
#include "bus/broadcastsocket.h"
#include "bus/crc.h"
#include "bus/streamframes.h"
#include "simbus.h"
#include "store/globals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <QTimer>
#include <QUdpSocket>

#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
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

// The sender's socket, the cloud server listening on 127.0.0.1:6010 (stream) or a device on
// 127.0.0.2, and the link opened to it as 1/254; -1 where either cannot be had.
int openSender(bool stream, BroadcastSocket &socket)
{
    gl_host_ip = QStringLiteral("127.0.0.1");
    gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
    gl_net_style = stream ? NetStyleCloudServer : NetStyleDnsServer;
    gl_server_ip = QStringLiteral("127.0.0.1");
    gl_domain_name = QStringLiteral("127.0.0.2");
    const int own = ::socket(AF_INET, stream ? SOCK_STREAM : SOCK_DGRAM, 0);
    const int on = 1;
    ::setsockopt(own, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in at =
        stream ? bench::address("127.0.0.1", BroadcastSocket::CloudPort) : bench::address("127.0.0.2", 0);
    if (::bind(own, reinterpret_cast<const sockaddr *>(&at), sizeof at) != 0
        || (stream && ::listen(own, 1) != 0)) {
        QTextStream(stderr) << "cannot bind the sender (not in a private namespace?)\n";
        ::close(own);
        return -1;
    }
    socket.setId(1, 254);
    socket.setKeepAliveInterval(3600 * 1000);
    if (!socket.createSocket()) {
        QTextStream(stderr) << "cannot open the transport\n";
        ::close(own);
        return -1;
    }
    return own;
}

Pushed benchPushed(bool stream, int seconds, int rate)
{
    Pushed result;
    result.sent = seconds * rate;
    BroadcastSocket socket;
    const int own = openSender(stream, socket);
    if (own < 0)
        return result;
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
            const int on = 1;
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

// Eight MiB of one pattern.
QByteArray pattern(const QString &name)
{
    constexpr int Size = 8 << 20;
    QByteArray unit;
    if (name == "valid frames") {
        for (int i = 0; unit.size() < 65536; ++i)
            unit += reply(i);
    } else if (name == "random bytes") {
        std::mt19937 random(11);
        QByteArray bytes(Size, '\0');
        for (char &byte : bytes)
            byte = char(random());
        return bytes;
    } else if (name == "zeros") {
        unit = QByteArray(1, '\0');
    } else if (name == "all AA") {
        unit = QByteArray(1, '\xaa');
    } else if (name == "BB BB 1F 40") {
        unit = QByteArray::fromHex("bbbb1f40");
    } else if (name == "AA AA FF") {
        unit = QByteArray::fromHex("aaaaff");
    } else if (name == "CC CC 1F 40") {
        unit = QByteArray::fromHex("cccc1f40");
    } else if (name == "long frames, wrong CRC") {
        // 8,000-byte long frames whose last byte is off: each claims all its bytes.
        const int length = 8000 - 16;
        unit = reply(0).left(14) + "\xbb\xbb" + char(length >> 8) + char(length & 0xFF);
        unit += QByteArray(length - 4, '\x5a');
        const quint16 crc = crc16Xmodem(reinterpret_cast<const unsigned char *>(unit.constData()) + 16,
                                        size_t(unit.size() - 16));
        unit += char(crc >> 8);
        unit += char((crc & 0xFF) ^ 1);
    }
    QByteArray bytes;
    bytes.reserve(Size + unit.size());
    while (bytes.size() < Size)
        bytes += unit;
    return bytes;
}

const QStringList Patterns = {"valid frames", "random bytes", "zeros", "all AA", "BB BB 1F 40",
                              "AA AA FF", "CC CC 1F 40", "long frames, wrong CRC"};

struct Split
{
    double mbPerSecond = 0;
    double crcMbPerSecond = 0;
    int frames = 0;
};

// The splitter fed the bytes in reads of 8 KiB, every frame taken after each; best of three,
// beside the best of three CRC passes over the same bytes.
Split benchSplitter(const QByteArray &bytes)
{
    Split result;
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    double crcBest = 1e9, splitBest = 1e9;
    volatile unsigned short sink = 0;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        sink = crc16Xmodem(data, size_t(bytes.size()));
        crcBest = std::min(crcBest, timer.nsecsElapsed() / 1e9);

        StreamFrames frames;
        unsigned char out[StreamFrames::MaxFrame];
        int taken = 0;
        timer.restart();
        for (int at = 0; at < bytes.size(); at += StreamFrames::MaxFrame) {
            frames.append(bytes.constData() + at, std::min(StreamFrames::MaxFrame, int(bytes.size()) - at));
            while (frames.take(out))
                ++taken;
        }
        splitBest = std::min(splitBest, timer.nsecsElapsed() / 1e9);
        result.frames = taken;
    }
    (void)sink;
    result.mbPerSecond = bytes.size() / 1e6 / splitBest;
    result.crcMbPerSecond = bytes.size() / 1e6 / crcBest;
    return result;
}

qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * ::sysconf(_SC_PAGESIZE) : 0;
}

struct Flood
{
    bool arrived = false;
    qint64 sentBytes = 0;
    qint64 heldMax = 0;
    qint64 residentBefore = 0;
    qint64 residentMax = 0;
    int framesTaken = 0;
    double seconds = 0;
    double lateAfterLastByte = 0; // the marker's arrival after the flood's last byte was accepted
};

// A sender writes unit over and over as fast as the link takes it, for seconds, then one
// reply that nothing else carries.
Flood benchFlood(const QByteArray &unit, int seconds)
{
    Flood result;
    BroadcastSocket socket;
    const int own = openSender(true, socket);
    if (own < 0)
        return result;
    const QByteArray marker = reply(999999);
    using Clock = std::chrono::steady_clock;
    std::atomic<qint64> lastAcceptedNs{0};
    QEventLoop loop;
    Clock::time_point arrival;
    QObject::connect(&socket, &BroadcastSocket::dataIsComming, &socket, [&](quint8 *buffer, qlonglong length) {
        if (!socket.checkRecvBuff_0xAAAA(buffer, length))
            return;
        ++result.framesTaken;
        if (QByteArray(reinterpret_cast<const char *>(buffer), int(length)) == marker) {
            arrival = Clock::now();
            result.arrived = true;
            loop.quit();
        }
    });
    result.residentBefore = result.residentMax = residentBytes();
    const Clock::time_point start = Clock::now();
    std::thread sender([&] {
        const int fd = ::accept(own, nullptr, nullptr);
        while (Clock::now() - start < std::chrono::seconds(seconds)) {
            const ssize_t n = ::send(fd, unit.constData(), size_t(unit.size()), MSG_NOSIGNAL);
            if (n <= 0)
                break;
            result.sentBytes += n;
        }
        lastAcceptedNs = std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count();
        ::send(fd, marker.constData(), size_t(marker.size()), MSG_NOSIGNAL);
        // Kept open until the marker is taken or given up.
        while (!result.arrived && Clock::now() - start < std::chrono::seconds(seconds + 10))
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ::close(fd);
    });
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, &loop, [&] {
        result.heldMax = std::max(result.heldMax, socket.streamBytesHeld());
        result.residentMax = std::max(result.residentMax, residentBytes());
        if (Clock::now() - start > std::chrono::seconds(seconds + 10))
            loop.quit();
    });
    sample.start(5);
    loop.exec();
    sender.join();
    result.seconds = lastAcceptedNs / 1e9;
    result.lateAfterLastByte =
        result.arrived ? std::chrono::duration<double>(arrival - start).count() - lastAcceptedNs / 1e9 : -1;
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
    bool ok = stream.taken == stream.sent && datagrams.taken == datagrams.sent;

    QString costliest;
    double slowest = 1e9;
    for (const QString &name : Patterns) {
        const QByteArray bytes = pattern(name);
        const Split split = benchSplitter(bytes);
        const double ratio = split.mbPerSecond / split.crcMbPerSecond;
        out << QString::asprintf("splitter, 8 MiB of %-22s: %7.1f MB/s, %6d frames, %.2f of a CRC pass "
                                 "(%.1f MB/s)\n",
                                 qPrintable(name), split.mbPerSecond, split.frames, ratio, split.crcMbPerSecond);
        if (name != "valid frames" && split.mbPerSecond < slowest)
            slowest = split.mbPerSecond, costliest = name;
        ok = ok && (name != "valid frames" || split.frames > 0) && (name == "valid frames" || split.frames == 0);
    }
    out.flush();
    const int floodSeconds = argc > 3 ? qMax(1, QString::fromLocal8Bit(argv[3]).toInt()) : 30;
    QByteArray validUnit;
    for (int i = 0; validUnit.size() < 65536; ++i)
        validUnit += reply(i);
    const QList<QPair<QString, QByteArray>> floods = {{costliest, pattern(costliest).left(65536)},
                                                       {"valid frames", validUnit}};
    for (const auto &flood : floods) {
        const Flood f = benchFlood(flood.second, floodSeconds);
        out << QString::asprintf("%d s of %s as fast as the link takes: %.1f MB written (%.1f MB/s), "
                                 "%d frames taken (%.0f/s), held at most %lld bytes, resident %+.1f MiB "
                                 "at most; the frame after it %s %.3f s after the last byte was accepted\n",
                                 floodSeconds, qPrintable(flood.first), f.sentBytes / 1e6,
                                 f.sentBytes / 1e6 / qMax(0.001, f.seconds), f.framesTaken,
                                 f.framesTaken / qMax(0.001, f.seconds), f.heldMax,
                                 (f.residentMax - f.residentBefore) / 1048576.0,
                                 f.arrived ? "arrived" : "NEVER ARRIVED, given up", f.lateAfterLastByte);
        out.flush();
        ok = ok && f.arrived;
    }
    return ok ? 0 : 1;
}
