// The transport on loopback: opening each network style, framing and sending,
// the keep-alive, the sender screen, the reading of datagrams and the frames of
// the TCP stream. The simulated devices listen on 127.0.0.2:6000 ("DNS Server")
// and 127.0.0.1:6010 ("Cloud Server"); nothing is sent outside 127.0.0.0/8.

#include "testmain.h"
#include "acknowledged.h"

#include "framecollector.h"

#include "bus/broadcastsocket.h"
#include "bus/streamframes.h"
#include "simbus.h"
#include "simloginserver.h"
#include "store/globals.h"
#include "timerticks.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpServer>
#include <QUdpSocket>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

const QHostAddress SimAddress(QStringLiteral("127.0.0.2"));
const QHostAddress CloudAddress(QStringLiteral("127.0.0.1"));
constexpr int NoKeepAlive = 3600 * 1000;

// Settles the globals of one network style.
void useStyle(int style, const QString &domain = QStringLiteral("127.0.0.2"),
              const QString &server = QStringLiteral("127.0.0.1"),
              const QString &mac = QStringLiteral("00-11-22-33-44-55-66-77"))
{
    gl_net_style = style;
    gl_domain_name = domain;
    gl_server_ip = server;
    gl_ip_port_mac = mac;
}

QStringList texts(const QSignalSpy &spy)
{
    QStringList list;
    for (const QList<QVariant> &args : spy)
        list.append(args.at(1).toString());
    return list;
}

QByteArray deviceFrame(quint16 code, const QByteArray &payload = {})
{
    return SimFrame::build(QByteArray::fromHex("7f000002"), 1, 10, 0x0001, code, 1, 254, payload);
}

// The bytes, then the CRC over all but their first from bytes.
QByteArray withCrc(const QByteArray &bytes, int from)
{
    const quint16 crc = SimFrame::crc16(bytes.mid(from));
    return bytes + char(crc >> 8) + char(crc & 0xFF);
}

// Header with BB BB, the 16-bit length (itself, the bus frame's fields, payload, CRC).
QByteArray longFrame(int payloadBytes)
{
    const int length = 12 + payloadBytes;
    return withCrc(deviceFrame(0xE01C).left(14) + "\xbb\xbb" + char(length >> 8) + char(length & 0xFF) +
                       QByteArray::fromHex("0114000100320101") + QByteArray(payloadBytes, '\x5a'),
                   16);
}

QByteArray flipLast(QByteArray bytes)
{
    bytes[bytes.size() - 1] = char(bytes.at(bytes.size() - 1) ^ 1);
    return bytes;
}

const QHash<QString, QByteArray> &named()
{
    const QByteArray head = deviceFrame(0xE01C).left(16);
    static const QHash<QString, QByteArray> frames = {
        {"bus1", deviceFrame(0xE01C, "\x09\x01")},
        {"bus2", deviceFrame(0xE01C, QByteArray(244, '\xaa'))}, // the longest, all AA
        {"bus3", deviceFrame(0xE01C, QByteArray::fromHex("cccc0010"))},
        {"long1", longFrame(0)},
        {"long2", longFrame(2000)},
        {"long3", longFrame(8192 - 28)}, // the longest handed on
        {"login1", SimLoginServer::answer(0x00A3, 16, 13, 0)},
        {"login2", SimLoginServer::answer(0x00A4, 12, 9, 0xAA)},
        {"login3", SimLoginServer::answer(0x00A4, 9, 9, 0)}, // nine bytes
        // No frames: a wrong CRC; length bytes too short, too long, below eleven; a long
        // frame one byte past the receive buffer, and a header beyond it.
        {"badCrc", flipLast(deviceFrame(0xE01C, "\x09\x02"))},
        {"longBadCrc", flipLast(longFrame(100))},
        // A login frame whose body holds a whole bus frame (bus1, 29 bytes).
        {"holdingBus1", withCrc(QByteArray::fromHex("cccc002500a3") + deviceFrame(0xE01C, "\x09\x01"), 0)},
        {"short", head + QByteArray::fromHex("0c01140001e01cffff0901aabb")},
        {"long", head + QByteArray::fromHex("ff01140001e01cffff0901aabb")},
        {"below11", head + QByteArray::fromHex("01aabbccdd")},
        {"tooLong", longFrame(8192 - 27)},
        {"past", longFrame(0).left(16) + QByteArray::fromHex("ff01")},
    };
    return frames;
}

// The names of the frames taken, "?" for anything else.
QStringList takeAll(StreamFrames &frames, bool &bounded)
{
    QStringList taken;
    unsigned char out[StreamFrames::MaxFrame];
    while (const int size = frames.take(out))
        taken << named().key(QByteArray(reinterpret_cast<const char *>(out), size), QStringLiteral("?"));
    bounded = bounded && frames.buffered() < StreamFrames::MaxFrame;
    return taken;
}

std::unique_ptr<BroadcastSocket> newSocket()
{
    auto socket = std::make_unique<BroadcastSocket>();
    socket->setId(1, 254);
    socket->setKeepAliveInterval(NoKeepAlive);
    return socket;
}

} // namespace

class TestBusTransport : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void sendingBeforeOpeningDoesNothing();
    void sendCommandPutsOneFrameOnTheWire();
    void largestPayloadIsSent();
    void mismatchedFramesAreNotSent_data();
    void mismatchedFramesAreNotSent();
    void setSendBuffChecksToo();
    void shortFormBody();
    void openingFailures_data();
    void openingFailures();
    void unknownStyleOpensNothing();
    void keepAlive_data();
    void keepAlive();
    void keepAliveDefaultsToTenSeconds();
    void dnsSenderScreen_data();
    void dnsSenderScreen();
    void localSenderScreen_data();
    void localSenderScreen();
    void cloudScreenRule();
    void datagramSizes_data();
    void datagramSizes();
    void emptyAndOversizedDatagramsDoNotDeafen();
    void burstIsDeliveredInTurns();
    void cloudSendsOverTcp();
    void streamSplitIntoFrames_data();
    void streamSplitIntoFrames();
    void streamCutAnywhere_data();
    void streamCutAnywhere();
    void streamKeepsItsBounds_data();
    void streamKeepsItsBounds();
    void streamUnderPressure_data();
    void streamUnderPressure();
    void linkMadeAnewHandsOnWhatItHolds();
    void closedLinkLetsThePortGo_data();
    void closedLinkLetsThePortGo();
    void tcpLossIsReported();
    void reopeningReportsNoLoss();
    void scriptedDeviceAnswers_data();
    void scriptedDeviceAnswers();

private:
    std::unique_ptr<SimBus> m_sim;
};

void TestBusTransport::init()
{
    gl_host_ip = QStringLiteral("192.168.1.5");
    useStyle(NetStyleDnsServer);
    m_sim = std::make_unique<SimBus>();
}

void TestBusTransport::sendingBeforeOpeningDoesNothing()
{
    QVERIFY2(m_sim->listenUdp(SimAddress, 6000), qPrintable(m_sim->errorString()));
    auto socket = newSocket();
    QSignalSpy state(socket.get(), &BroadcastSocket::signalsNetworkConnectState);
    unsigned char payload[4] = {2, 100, 0, 0};
    socket->sendCommand(15, 0x0031, 1, 10, payload, 4);
    unsigned char raw[3] = {1, 2, 3};
    socket->send(raw, 3);
    socket->send(raw, 3, SimAddress, 6000);
    SimBus::pump(150);
    QVERIFY(m_sim->frames().isEmpty());
    QCOMPARE(state.count(), 0);
}

void TestBusTransport::sendCommandPutsOneFrameOnTheWire()
{
    QVERIFY(m_sim->listenUdp(SimAddress, 6000));
    auto socket = newSocket();
    QVERIFY(socket->createSocket());
    unsigned char payload[4] = {2, 100, 0, 0};
    socket->sendCommand(15, 0x0031, 1, 10, payload, 4);
    QVERIFY(m_sim->waitForFrames(1));
    SimBus::pump(100);
    QCOMPARE(m_sim->frames().size(), 1);

    const QByteArray expected = QByteArray::fromHex("c0a80105") + "VOVERUDIZI"
        + QByteArray::fromHex("aaaa0f01feccc20031010a02640000bc18");
    QCOMPARE(m_sim->frames().first().raw.toHex(), expected.toHex());
    QVERIFY(m_sim->frames().first().valid);
}

void TestBusTransport::largestPayloadIsSent()
{
    QVERIFY(m_sim->listenUdp(SimAddress, 6000));
    auto socket = newSocket();
    QVERIFY(socket->createSocket());
    QByteArray payload(244, '\0');
    for (int i = 0; i < payload.size(); ++i)
        payload[i] = char(i);
    socket->sendCommand(255, 0x1234, 3, 4, reinterpret_cast<unsigned char *>(payload.data()), 244);
    QVERIFY(m_sim->waitForFrames(1));
    const SimFrame frame = m_sim->frames().first();
    QCOMPARE(frame.raw.size(), 271);
    QVERIFY(frame.valid);
    QCOMPARE(frame.payload, payload);
}

void TestBusTransport::mismatchedFramesAreNotSent_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("n");
    QTest::newRow("length byte one short") << 14 << 4;
    QTest::newRow("length byte one long") << 16 << 4;
    QTest::newRow("length byte 0, no payload") << 0 << 0;
    QTest::newRow("245 bytes, length wrapped to 0") << 0 << 245;
    QTest::newRow("300 bytes, length wrapped to 55") << 55 << 300;
    QTest::newRow("8192 bytes") << 11 << 8192;
}

void TestBusTransport::mismatchedFramesAreNotSent()
{
    QFETCH(int, length);
    QFETCH(int, n);
    QVERIFY(m_sim->listenUdp(SimAddress, 6000));
    auto socket = newSocket();
    QVERIFY(socket->createSocket());
    QByteArray payload(n, '\x33');
    socket->sendCommand(static_cast<unsigned char>(length), 0x0031, 1, 10,
                        reinterpret_cast<unsigned char *>(payload.data()), unsigned(n));
    // A good frame behind it still goes out: the refusal leaves the link usable.
    socket->sendCommand(11, 0xEFFD, 1, 10, nullptr, 0);
    QVERIFY(m_sim->waitForFrames(1));
    SimBus::pump(50);
    QCOMPARE(m_sim->frames().size(), 1);
    QCOMPARE(m_sim->frames().first().code, quint16(0xEFFD));
}

void TestBusTransport::setSendBuffChecksToo()
{
    QVERIFY(m_sim->listenUdp(SimAddress, 6000));
    auto socket = newSocket();
    QVERIFY(socket->createSocket());
    unsigned char payload[2] = {1, 2};
    socket->setSendBuff(12, 0x0033, 1, 10, payload, 2); // should be 13
    socket->send();
    SimBus::pump(100);
    QVERIFY(m_sim->frames().isEmpty());

    socket->setSendBuff(13, 0x0033, 1, 10, payload, 2);
    SimBus::pump(50);
    QVERIFY(m_sim->frames().isEmpty()); // filled, not sent
    socket->send();
    QVERIFY(m_sim->waitForFrames(1));
    QVERIFY(m_sim->frames().first().valid);
    QCOMPARE(m_sim->frames().first().payload, QByteArray("\x01\x02", 2));
}

void TestBusTransport::shortFormBody()
{
    QVERIFY(m_sim->listenUdp(SimAddress, 6000));
    auto socket = newSocket();
    QVERIFY(socket->createSocket());
    socket->resetSendBuff();
    unsigned char body[7] = {13, 0x00, 0x02, 1, 10, 3, 9};
    QVERIFY(socket->setTxBuffs(body, 7));
    socket->send();
    QVERIFY(m_sim->waitForFrames(1));
    const SimFrame frame = m_sim->frames().first();
    QVERIFY(frame.valid);
    QCOMPARE(frame.deviceType, quint16(0xFFFE));
    QCOMPARE(frame.sourceSubnet, quint8(1));
    QCOMPARE(frame.sourceDevice, quint8(254));
    QCOMPARE(frame.code, quint16(0x0002));
    QCOMPARE(frame.payload, QByteArray("\x03\x09", 2));
}

void TestBusTransport::openingFailures_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("mac");
    QTest::addColumn<bool>("portTaken");
    QTest::addColumn<QString>("text");

    const QString mac = QStringLiteral("00-11-22-33-44-55-66-77");
    QTest::newRow("dns: no domain, no mac")
        << int(NetStyleDnsServer) << QString() << QString() << QString() << false
        << "invalid domain name by router!";
    QTest::newRow("dns: no mac") << int(NetStyleDnsServer) << "127.0.0.2" << QString() << QString()
                                 << false << "invalid mac address!";
    // Names that the resolver refuses before any lookup goes out.
    QTest::newRow("dns: name that cannot be resolved")
        << int(NetStyleDnsServer) << "bad name" << QString() << mac << false
        << "failed to parse host name bad name!";
    QTest::newRow("dns: port taken") << int(NetStyleDnsServer) << "127.0.0.2" << QString() << mac
                                     << true << "failed to bind 6000!";
    QTest::newRow("cloud: no server, no mac")
        << int(NetStyleCloudServer) << QString() << QString() << QString() << false
        << "invalid server ip or domain name!";
    QTest::newRow("cloud: no mac") << int(NetStyleCloudServer) << QString() << "127.0.0.1"
                                   << QString() << false << "invalid mac address!";
    QTest::newRow("cloud: name that cannot be resolved")
        << int(NetStyleCloudServer) << QString() << "server..example" << mac << false
        << "failed to parse host name server..example!";
    QTest::newRow("cloud: nobody listens") << int(NetStyleCloudServer) << QString() << "127.0.0.1"
                                           << mac << false << "failed to connect to 127.0.0.1!";
    QTest::newRow("local: port taken") << int(NetStyleLocalNetwork) << QString() << QString()
                                       << QString() << true << "failed to bind 6000!";
}

void TestBusTransport::openingFailures()
{
    QFETCH(int, style);
    QFETCH(QString, domain);
    QFETCH(QString, server);
    QFETCH(QString, mac);
    QFETCH(bool, portTaken);
    QFETCH(QString, text);

    QVERIFY(m_sim->listenUdp(SimAddress, 6000));
    // A socket on port 6000 that does not share it makes every bind of the
    // port fail, whatever the binder asks for.
    QUdpSocket blocker;
    if (portTaken)
        QVERIFY(blocker.bind(QHostAddress::LocalHost, 6000, QUdpSocket::DontShareAddress));

    useStyle(style, domain, server, mac);
    auto socket = newSocket();
    QSignalSpy state(socket.get(), &BroadcastSocket::signalsNetworkConnectState);
    QVERIFY(!socket->createSocket());
    QCOMPARE(texts(state), QStringList{text});
    QCOMPARE(state.first().at(0).toBool(), false);

    // Nothing goes out after a failed opening, and nothing more is reported.
    socket->sendCommand(11, 0xEFFD, 1, 10, nullptr, 0);
    unsigned char raw[18] = {};
    socket->send(raw, sizeof raw);
    SimBus::pump(100);
    QVERIFY(m_sim->frames().isEmpty());
    QCOMPARE(state.count(), 1);
}

void TestBusTransport::unknownStyleOpensNothing()
{
    QVERIFY(m_sim->listenUdp(SimAddress, 6000));
    useStyle(7);
    auto socket = newSocket();
    QSignalSpy state(socket.get(), &BroadcastSocket::signalsNetworkConnectState);
    QVERIFY(socket->createSocket());
    QVERIFY(!socket->parseHostName(QStringLiteral("127.0.0.2")));
    socket->sendCommand(11, 0xEFFD, 1, 10, nullptr, 0);
    SimBus::pump(100);
    QVERIFY(m_sim->frames().isEmpty());
    QCOMPARE(state.count(), 0);
}

void TestBusTransport::keepAlive_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("sends");
    QTest::newRow("dns server") << int(NetStyleDnsServer) << true;
    QTest::newRow("cloud server") << int(NetStyleCloudServer) << false;
}

void TestBusTransport::keepAlive()
{
    QFETCH(int, style);
    QFETCH(bool, sends);
    if (style == NetStyleCloudServer)
        QVERIFY(m_sim->listenTcp(CloudAddress, 6010));
    else
        QVERIFY(m_sim->listenUdp(SimAddress, 6000));
    useStyle(style);
    auto socket = newSocket();
    socket->setKeepAliveInterval(40);
    // Each tick of a timer of the link (a member of it), with the count of frames the devices had
    // by then: taken without a turn of the loop, so a frame counted at a tick left before it.
    const auto *const link = reinterpret_cast<const char *>(socket.get());
    QList<int> before;
    const TimerTicks ticks([&](const QTimer *timer) {
        const auto *at = reinterpret_cast<const char *>(timer);
        if (at < link || at >= link + sizeof(BroadcastSocket))
            return false;
        m_sim->takeArrived(0);
        before.append(m_sim->frames().size());
        return true;
    });
    QVERIFY(socket->createSocket());
    if (sends)
        QVERIFY(QTest::qWaitFor([&] { return before.size() >= 3; }, 5000));
    else
        SimBus::pump(400);
    socket->closeSocket();
    m_sim->takeArrived(20);

    if (!sends) {
        QVERIFY(m_sim->frames().isEmpty());
        return;
    }
    // Nothing at the opening; then one keep-alive on each tick of the link's timer, whose
    // interval is the one the link was given.
    before.append(m_sim->frames().size());
    QList<int> expected;
    for (int i = 0; i < before.size(); ++i)
        expected.append(i);
    QCOMPARE(before, expected);
    QCOMPARE(ticks.intervals(), QVector<int>(before.size() - 1, 40).toList());
    const QByteArray first = m_sim->frames().first().raw;
    QCOMPARE(first.size(), 18);
    for (const char c : first)
        QVERIFY(c >= 0x20 && c < 0x7F);
    for (const SimFrame &frame : m_sim->frames())
        QCOMPARE(frame.raw, first);
}

void TestBusTransport::keepAliveDefaultsToTenSeconds()
{
    BroadcastSocket socket;
    QCOMPARE(socket.keepAliveInterval(), 10000);
    socket.setKeepAliveInterval(0);
    QCOMPARE(socket.keepAliveInterval(), 10000);
}

void TestBusTransport::dnsSenderScreen_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("hostIp");
    QTest::addColumn<bool>("delivered");
    QTest::newRow("the resolved address") << "127.0.0.2" << "192.168.1.5" << true;
    QTest::newRow("a third address") << "127.0.0.3" << "192.168.1.5" << false;
    QTest::newRow("the own address") << "127.0.0.4" << "127.0.0.4" << true;
}

void TestBusTransport::dnsSenderScreen()
{
    QFETCH(QString, from);
    QFETCH(QString, hostIp);
    QFETCH(bool, delivered);
    gl_host_ip = hostIp;
    auto socket = newSocket();
    QVERIFY(socket->createSocket());
    FrameCollector collector(*socket);

    QUdpSocket sender;
    QVERIFY(sender.bind(QHostAddress(from), 0));
    const QByteArray frame = deviceFrame(0x0032, "\x02\x64");
    QCOMPARE(sender.writeDatagram(frame, QHostAddress::LocalHost, 6000), qint64(frame.size()));
    if (delivered) {
        QVERIFY(collector.waitFor(1));
        QCOMPARE(collector.blocks.first(), frame);
    } else {
        SimBus::pump(150);
        QVERIFY(collector.blocks.isEmpty());
    }
}

void TestBusTransport::localSenderScreen_data()
{
    QTest::addColumn<int>("earlierStyle");
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("login");
    QTest::addColumn<bool>("delivered");
    const int none = -1;
    QTest::newRow("any device") << none << "127.0.0.3" << false << true;
    QTest::newRow("after dns: the old dns address") << int(NetStyleDnsServer) << "127.0.0.2"
                                                    << false << false;
    QTest::newRow("after dns: a login answer from it") << int(NetStyleDnsServer) << "127.0.0.2"
                                                       << true << true;
    QTest::newRow("after dns: another device") << int(NetStyleDnsServer) << "127.0.0.3" << false
                                               << true;
    QTest::newRow("after cloud: the old server address")
        << int(NetStyleCloudServer) << "127.0.0.1" << false << false;
    QTest::newRow("after cloud: another device") << int(NetStyleCloudServer) << "127.0.0.3"
                                                 << false << true;
}

void TestBusTransport::localSenderScreen()
{
    QFETCH(int, earlierStyle);
    QFETCH(QString, from);
    QFETCH(bool, login);
    QFETCH(bool, delivered);

    auto socket = newSocket();
    QTcpServer cloud;
    if (earlierStyle >= 0) {
        if (earlierStyle == NetStyleCloudServer)
            QVERIFY(cloud.listen(CloudAddress, 6010));
        useStyle(earlierStyle);
        QVERIFY(socket->createSocket());
    }
    // Back to "Local Network": only receiving here, the keep-alive is held off.
    useStyle(NetStyleLocalNetwork);
    QVERIFY(socket->createSocket());
    FrameCollector collector(*socket);

    QByteArray datagram = deviceFrame(0x0032, "\x02\x64");
    if (login) {
        datagram = QByteArray::fromHex("cccc0102030405");
        const quint16 crc = SimFrame::crc16(datagram);
        datagram.append(char(crc >> 8));
        datagram.append(char(crc & 0xFF));
    }
    QUdpSocket sender;
    QVERIFY(sender.bind(QHostAddress(from), 0));
    QCOMPARE(sender.writeDatagram(datagram, QHostAddress::LocalHost, 6000),
             qint64(datagram.size()));
    if (delivered) {
        QVERIFY(collector.waitFor(1));
        QCOMPARE(collector.blocks.first(), datagram);
    } else {
        SimBus::pump(150);
        QVERIFY(collector.blocks.isEmpty());
    }
    socket->closeSocket();
}

void TestBusTransport::cloudScreenRule()
{
    // In the "Cloud Server" style data come on the stream, which has no screen;
    // the rule itself still takes the own and the server's address only.
    QTcpServer cloud;
    QVERIFY(cloud.listen(CloudAddress, 6010));
    useStyle(NetStyleCloudServer);
    gl_host_ip = QStringLiteral("127.0.0.9");
    auto socket = newSocket();
    QVERIFY(socket->createSocket());
    unsigned char buf[27] = {};
    QVERIFY(socket->isValid(QHostAddress(QStringLiteral("127.0.0.1")), buf, 27));
    QVERIFY(socket->isValid(QHostAddress(QStringLiteral("127.0.0.9")), buf, 27));
    QVERIFY(!socket->isValid(QHostAddress(QStringLiteral("127.0.0.3")), buf, 27));
    // An IPv4-mapped IPv6 sender is the same address.
    QVERIFY(socket->isValid(QHostAddress(QStringLiteral("::ffff:127.0.0.1")), buf, 27));
}

void TestBusTransport::datagramSizes_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("delivered");
    QTest::newRow("empty") << 0 << false;
    QTest::newRow("one byte") << 1 << true;
    QTest::newRow("8192 bytes") << 8192 << true;
    QTest::newRow("8193 bytes") << 8193 << false;
    QTest::newRow("20000 bytes") << 20000 << false;
}

void TestBusTransport::datagramSizes()
{
    QFETCH(int, size);
    QFETCH(bool, delivered);
    QVERIFY(m_sim->listenUdp(SimAddress, 6000));
    auto socket = newSocket();
    QVERIFY(socket->createSocket());
    FrameCollector collector(*socket);

    QByteArray datagram(size, '\0');
    for (int i = 0; i < size; ++i)
        datagram[i] = char(1 + i % 250);
    const QByteArray marker = deviceFrame(0x0999, "end");
    m_sim->sendRaw(datagram, QHostAddress::LocalHost, 6000);
    m_sim->sendRaw(marker, QHostAddress::LocalHost, 6000);
    QVERIFY(collector.waitForEnding(marker));
    if (delivered) {
        QCOMPARE(collector.blocks.size(), 2);
        QCOMPARE(collector.blocks.first(), datagram);
    } else {
        QCOMPARE(collector.blocks.size(), 1);
    }
    QVERIFY(!collector.dirtyTail);
}

void TestBusTransport::emptyAndOversizedDatagramsDoNotDeafen()
{
    QVERIFY(m_sim->listenUdp(SimAddress, 6000));
    auto socket = newSocket();
    QVERIFY(socket->createSocket());
    FrameCollector collector(*socket);

    // All queued before the transport gets to read: one notification holds them.
    const QByteArray first = deviceFrame(0x0032, "one");
    const QByteArray second = deviceFrame(0x0032, "two");
    m_sim->sendRaw(QByteArray(), QHostAddress::LocalHost, 6000);
    m_sim->sendRaw(QByteArray(9000, 'x'), QHostAddress::LocalHost, 6000);
    m_sim->sendRaw(first, QHostAddress::LocalHost, 6000);
    m_sim->sendRaw(QByteArray(), QHostAddress::LocalHost, 6000);
    m_sim->sendRaw(second, QHostAddress::LocalHost, 6000);
    QVERIFY(collector.waitFor(2));
    QCOMPARE(collector.blocks, (QList<QByteArray>{first, second}));

    // Still listening afterwards.
    const QByteArray later = deviceFrame(0xEFFE, "fw");
    m_sim->sendRaw(later, QHostAddress::LocalHost, 6000);
    QVERIFY(collector.waitFor(3));
    QCOMPARE(collector.blocks.last(), later);
}

void TestBusTransport::burstIsDeliveredInTurns()
{
    QVERIFY(m_sim->listenUdp(SimAddress, 6000));
    auto socket = newSocket();
    QVERIFY(socket->createSocket());
    FrameCollector collector(*socket);

    // Queued before the transport reads: several turns' worth. Every frame
    // arrives, in order, and the event loop turns before the last one.
    const int count = 3 * BroadcastSocket::MaxDatagramsPerTurn + 3; // within the socket buffer
    QList<QByteArray> sent;
    for (int i = 0; i < count; ++i) {
        sent.append(deviceFrame(0x0032, QByteArray::number(i)));
        m_sim->sendRaw(sent.last(), QHostAddress::LocalHost, 6000);
    }
    // Armed by the first frame handed on: it can only run once the loop turns.
    int blocksWhenTimerRan = -1;
    QMetaObject::Connection armed = connect(socket.get(), &BroadcastSocket::dataIsComming, this, [&] {
        disconnect(armed);
        QTimer::singleShot(0, this, [&] { blocksWhenTimerRan = collector.blocks.size(); });
    });
    QVERIFY2(collector.waitFor(count), qPrintable(QString::number(collector.blocks.size())));
    QCOMPARE(collector.blocks, sent);
    QVERIFY(blocksWhenTimerRan >= 0);
    QVERIFY2(blocksWhenTimerRan < count, "the event loop did not turn during the burst");
}

void TestBusTransport::cloudSendsOverTcp()
{
    QVERIFY(m_sim->listenTcp(CloudAddress, 6010));
    m_sim->add<SimDevice>(1, 10)->setFirmware("CLOUD-FW");
    useStyle(NetStyleCloudServer);
    auto socket = newSocket();
    QSignalSpy state(socket.get(), &BroadcastSocket::signalsNetworkConnectState);
    QVERIFY(socket->createSocket());
    QCOMPARE(state.count(), 0);
    QVERIFY(m_sim->waitForClient());
    FrameCollector collector(*socket);

    socket->sendCommand(11, 0xEFFD, 1, 10, nullptr, 0);
    unsigned char payload[4] = {2, 100, 0, 0};
    socket->sendCommand(15, 0x0031, 1, 10, payload, 4);
    QVERIFY(m_sim->waitForFrames(2));
    QCOMPARE(m_sim->frames().at(0).code, quint16(0xEFFD));
    QCOMPARE(m_sim->frames().at(1).code, quint16(0x0031));
    QVERIFY(m_sim->frames().at(0).valid);
    QVERIFY(m_sim->frames().at(1).valid);

    // The firmware answer comes back on the stream, unscreened.
    QVERIFY(collector.waitFor(1));
    auto bytes = collector.blocks.first();
    QVERIFY(socket->checkRecvBuff_0xAAAA(reinterpret_cast<unsigned char *>(bytes.data()),
                                         bytes.size()));
    QCOMPARE(SimFrame::parse(bytes).payload, QByteArray("CLOUD-FW"));
}

// The server's writes, read as a stream: each whole frame is handed on once, in order, with
// zeros behind it, and a busy link lets the event loop turn. An empty write stands for the
// link reopened: the new connection's stream starts empty, the rest of a cut frame is none.
void TestBusTransport::streamSplitIntoFrames_data()
{
    QTest::addColumn<QList<QByteArray>>("writes");
    QTest::addColumn<QList<QByteArray>>("taken");
    QList<QByteArray> frames;
    for (int i = 0; i < 100; ++i)
        frames << deviceFrame(0x0032, QByteArray::number(i));
    const QByteArray a = frames[0], b = frames[1];
    QTest::newRow("100 in one write") << QList<QByteArray>{frames.join()} << frames;
    QTest::newRow("reopened with half a frame waiting")
        << QList<QByteArray>{a.left(18), {}, a.mid(18) + b} << QList<QByteArray>{b};
}

void TestBusTransport::streamSplitIntoFrames()
{
    QFETCH(QList<QByteArray>, writes);
    QFETCH(QList<QByteArray>, taken);
    QVERIFY(m_sim->listenTcp(CloudAddress, 6010));
    useStyle(NetStyleCloudServer);
    auto socket = newSocket();
    QVERIFY(socket->createSocket());
    QVERIFY(m_sim->waitForClient());
    FrameCollector collector(*socket);
    // Armed by the first frame handed on: it runs once the loop turns.
    int framesWhenTimerRan = -1;
    QMetaObject::Connection armed = connect(socket.get(), &BroadcastSocket::dataIsComming, this, [&] {
        disconnect(armed);
        QTimer::singleShot(0, this, [&] { framesWhenTimerRan = collector.blocks.size(); });
    });
    for (const QByteArray &write : writes) {
        if (!write.isEmpty()) {
            m_sim->sendRaw(write);
            continue;
        }
        SimBus::pump(100); // the half frame has arrived
        m_sim->disconnectClients();
        QTRY_COMPARE(m_sim->clientCount(), 0);
        QVERIFY(socket->createSocket() && m_sim->waitForClient());
    }
    QVERIFY2(collector.waitFor(taken.size()), qPrintable(QString::number(collector.blocks.size())));
    SimBus::pump(50);
    QCOMPARE(collector.blocks, taken);
    QVERIFY(!collector.dirtyTail);
    if (taken.size() > BroadcastSocket::MaxDatagramsPerTurn)
        QVERIFY2(framesWhenTimerRan >= 0 && framesWhenTimerRan < taken.size(), "the loop did not turn");
}

void TestBusTransport::tcpLossIsReported()
{
    QVERIFY(m_sim->listenTcp(CloudAddress, 6010));
    useStyle(NetStyleCloudServer);
    auto socket = newSocket();
    QSignalSpy state(socket.get(), &BroadcastSocket::signalsNetworkConnectState);
    QVERIFY(socket->createSocket());
    QVERIFY(m_sim->waitForClient());
    m_sim->disconnectClients();
    QTRY_COMPARE_WITH_TIMEOUT(state.count(), 1, 3000);
    QCOMPARE(texts(state), QStringList{"disconnect from 127.0.0.1!"});
    QCOMPARE(state.first().at(0).toBool(), false);
}

void TestBusTransport::reopeningReportsNoLoss()
{
    QVERIFY(m_sim->listenTcp(CloudAddress, 6010));
    useStyle(NetStyleCloudServer);
    auto socket = newSocket();
    QSignalSpy state(socket.get(), &BroadcastSocket::signalsNetworkConnectState);
    QVERIFY(socket->createSocket());
    QVERIFY(socket->createSocket());
    SimBus::pump(100);
    QCOMPARE(state.count(), 0);
}

void TestBusTransport::scriptedDeviceAnswers_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("requests");
    QTest::addColumn<int>("delivered");   // blocks handed on by the transport
    QTest::addColumn<bool>("wellFormed"); // the last block passes the frame check
    QTest::addColumn<int>("code");        // operation code of the last block
    QTest::newRow("normal firmware answer") << "normal" << 1 << 1 << true << 0xEFFE;
    QTest::newRow("silent") << "silent" << 1 << 0 << false << 0;
    QTest::newRow("given reply") << "reply" << 1 << 1 << true << 0x1234;
    QTest::newRow("bad CRC") << "badCrc" << 1 << 1 << false << 0xEFFE;
    QTest::newRow("short frame") << "short" << 1 << 1 << false << 0; // cut before the code
    QTest::newRow("length byte 0") << "badLength" << 1 << 1 << false << 0xEFFE;
    QTest::newRow("empty datagram") << "empty" << 1 << 0 << false << 0;
    QTest::newRow("oversized datagram") << "oversized" << 1 << 0 << false << 0;
    QTest::newRow("silent once, then normal") << "silentOnce" << 2 << 1 << true << 0xEFFE;
    QTest::newRow("delayed") << "delayed" << 1 << 1 << true << 0xEFFE;
}

void TestBusTransport::scriptedDeviceAnswers()
{
    QFETCH(QString, script);
    QFETCH(int, requests);
    QFETCH(int, delivered);
    QFETCH(bool, wellFormed);
    QFETCH(int, code);

    QVERIFY(m_sim->listenUdp(SimAddress, 6000));
    SimDevice *device = m_sim->add<SimDevice>(1, 10);
    device->setFirmware("FW-2.1");
    const QHash<QString, SimAnswer> answers = {
        {"normal", SimAnswer::normal()},
        {"silent", SimAnswer::silent()},
        {"reply", SimAnswer::reply(0x1234, "ab")},
        {"badCrc", SimAnswer::badCrc()},
        {"short", SimAnswer::shortFrame(20)},
        {"badLength", SimAnswer::badLength(0)},
        {"empty", SimAnswer::emptyDatagram()},
        {"oversized", SimAnswer::oversized()},
        {"silentOnce", SimAnswer::silent().once()},
        {"delayed", SimAnswer::normal().delayed(300)},
    };
    device->setAnswer(0xEFFD, answers.value(script));

    auto socket = newSocket();
    QVERIFY(socket->createSocket());
    FrameCollector collector(*socket);
    QSignalSpy sent(m_sim.get(), &SimBus::bytesSent);
    // When the device's answer left, and what had reached the link by then.
    QElapsedTimer clock;
    qint64 answeredAfter = -1;
    int blocksBeforeAnswer = -1;
    QObject scope; // the watch ends with this test
    connect(m_sim.get(), &SimBus::bytesSent, &scope, [&] {
        if (answeredAfter < 0) {
            answeredAfter = clock.elapsed();
            blocksBeforeAnswer = collector.blocks.size();
        }
    });
    clock.start();
    for (int i = 0; i < requests; ++i)
        socket->sendCommand(11, 0xEFFD, 1, 10, nullptr, 0);
    // The device answers as it reads a request, a delayed answer once its timer has fired;
    // a marker sent after that closes the exchange.
    QVERIFY(m_sim->waitForFrames(requests));
    if (script == QLatin1String("delayed")) {
        QTRY_COMPARE(sent.count(), 1);
        QVERIFY2(answeredAfter >= 270, qPrintable(QString::number(answeredAfter))); // a coarse timer
        QCOMPARE(blocksBeforeAnswer, 0);
    }
    const QByteArray marker = deviceFrame(0x0999);
    m_sim->sendRaw(marker);
    QVERIFY(collector.waitForEnding(marker));
    collector.blocks.removeLast();

    QCOMPARE(device->requests().size(), requests);
    QCOMPARE(collector.blocks.size(), delivered);
    if (delivered == 0)
        return;
    QByteArray last = collector.blocks.last();
    QCOMPARE(socket->checkRecvBuff_0xAAAA(reinterpret_cast<unsigned char *>(last.data()),
                                          last.size()),
             wellFormed);
    const SimFrame frame = SimFrame::parse(last);
    QCOMPARE(int(frame.code), code);
    if (wellFormed && code == 0xEFFE)
        QCOMPARE(frame.payload, QByteArray("FW-2.1"));
}

// The frames of the stream kept apart from the socket: bus, long and login frames taken by
// their own lengths however the stream is cut, bytes that are no frame skipped. Each row is
// fed whole, cut in two at every byte, and one byte at a time. sent: named frames and "~hex"
// bytes of no frame, in stream order.
void TestBusTransport::streamCutAnywhere_data()
{
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("taken");
    QTest::newRow("three bus frames") << "bus2 bus3 bus1" << "bus2 bus3 bus1";
    QTest::newRow("three long frames") << "long2 long1 long3" << "long2 long1 long3";
    QTest::newRow("three login frames") << "login2 login1 login3" << "login2 login1 login3";
    QTest::newRow("each kind, garbage before, between, after")
        << "~c0a8 login1 ~00ffaa bus1 ~cc long1 ~bbbb0102 login2 ~aaaa" << "login1 bus1 long1 login2";
    QTest::newRow("nothing but garbage") << "~0102030405060708090a0b0c0d0e0f10111213aaaa" << "";
    QTest::newRow("wrong lengths and CRC, each followed by a good frame")
        << "short bus1 long bus3 below11 ~cccc0001 bus2 badCrc bus1 ~cccc1f4000a3 login2 tooLong past long1"
        << "bus1 bus3 bus2 bus1 login2 long1";
    QTest::newRow("a long frame with a wrong CRC, its bytes all come") << "longBadCrc bus1" << "bus1";
    // The frame that ends first is taken, as if the stream came a byte at a time: the same
    // frames however it is cut.
    QTest::newRow("a frame holding a whole frame in its body") << "holdingBus1 bus3" << "bus1 bus3";
}

void TestBusTransport::streamCutAnywhere()
{
    QFETCH(QString, sent);
    QFETCH(QString, taken);
    QByteArray bytes;
    for (const QString &part : sent.split(' '))
        bytes += part.startsWith('~') ? QByteArray::fromHex(part.mid(1).toLatin1()) : named().value(part);
    const QStringList want = taken.split(' ', Qt::SkipEmptyParts);
    bool bounded = true;
    // Cut in two at every byte (0: the whole stream in one read).
    for (int cut = 0; cut < bytes.size(); ++cut) {
        StreamFrames frames;
        frames.append(bytes.constData(), cut);
        QStringList got = takeAll(frames, bounded);
        frames.append(bytes.constData() + cut, bytes.size() - cut);
        got += takeAll(frames, bounded);
        QVERIFY2(got == want, qPrintable(QString("cut at %1: %2").arg(cut).arg(got.join(' '))));
    }
    // One byte a read; what waits stays under one frame.
    StreamFrames frames;
    QStringList got;
    for (const char byte : bytes) {
        frames.append(&byte, 1);
        got += takeAll(frames, bounded);
    }
    QCOMPARE(got, want);
    QVERIFY(bounded);
}

// What the splitter keeps once take() has answered 0 stays under one frame, whatever one append
// brought; and what it holds in memory over a long stream read 8 KiB at a time is a few reads'
// worth, not the stream's length.
void TestBusTransport::streamKeepsItsBounds_data()
{
    QTest::addColumn<QByteArray>("pattern");
    QTest::newRow("BB BB 1F 40") << QByteArray::fromHex("bbbb1f40");
    QTest::newRow("AA AA FF") << QByteArray::fromHex("aaaaff");
    QTest::newRow("CC CC 1F 40") << QByteArray::fromHex("cccc1f40");
    QTest::newRow("zeros") << QByteArray(1, '\0');
    QTest::newRow("all AA") << QByteArray(1, '\xaa');
    QByteArray noise(8192, '\0');
    QRandomGenerator random(72);
    for (char &byte : noise)
        byte = char(random.bounded(256));
    QTest::newRow("random bytes") << noise;
    QTest::newRow("long frames, wrong CRC") << named().value("longBadCrc");
    QTest::newRow("frames") << named().value("bus1");
}

void TestBusTransport::streamKeepsItsBounds()
{
    QFETCH(QByteArray, pattern);
    unsigned char out[StreamFrames::MaxFrame];
    StreamFrames once;
    const QByteArray large = pattern.repeated(200000 / pattern.size() + 1);
    once.append(large.constData(), large.size());
    while (once.take(out) > 0) {
    }
    QVERIFY2(once.buffered() < StreamFrames::MaxFrame, qPrintable(QString::number(once.buffered())));
    StreamFrames stream;
    const QByteArray read = pattern.repeated(qMax(1, 8192 / pattern.size()));
    size_t most = 0;
    for (qint64 total = 0; total < (4 << 20); total += read.size()) {
        stream.append(read.constData(), read.size());
        while (stream.take(out) > 0) {
        }
        most = std::max(most, stream.footprint());
    }
    QVERIFY2(most <= 16 * StreamFrames::MaxFrame, qPrintable(QString::number(most)));
}

// The server writes faster than frames are handed on: frames, or bytes that only look like frame
// starts. TCP holds the sender back: the link holds no more than its read buffer and the bytes
// kept for one frame. Or, once the first frame is handed on (the read buffer full), the server
// writes more, waits till the program's system has acknowledged every byte, and resets or closes
// the connection. Qt then holds its read buffer, the system the rest: every frame is handed on
// once, in order, and each alarm answered as the panel intake does, until an answer fails.
void TestBusTransport::streamUnderPressure_data()
{
    QTest::addColumn<QByteArray>("unit");
    QTest::addColumn<int>("times");  // units written at once
    QTest::addColumn<int>("later");  // units written once the first frame is handed on
    QTest::addColumn<QString>("end"); // "reset" or "close"; else a last frame follows
    const QByteArray reply = deviceFrame(0x0032, "unit"), alarm = deviceFrame(0xE01C, "\x09\x01");
    QTest::newRow("16 MiB of BB BB 1F 40") << QByteArray::fromHex("bbbb1f40") << (4 << 20) << 0 << "";
    const QByteArray looks = QByteArray::fromHex("cccc1f40").repeated(1 << 18) +
                             QByteArray::fromHex("aaaaff").repeated(349525) + QByteArray(1 << 20, '\xaa');
    QTest::newRow("1 MiB each of CC CC 1F 40, AA AA FF, AA") << looks << 1 << 0 << "";
    QTest::newRow("100,000 frames") << reply << 100000 << 0 << "";
    QTest::newRow("1,000 alarms, then a reset") << alarm << 1000 << 0 << "reset";
    QTest::newRow("1,000 alarms, then a reset, the link made anew") << alarm << 1000 << 0 << "reset, anew";
    // 90 KB at once and 60 KB later: more than the read buffer, within what the system takes.
    QTest::newRow("replies past the read buffer, then a reset") << reply << 3000 << 2000 << "reset";
    const QByteArray mixed = reply.repeated(500) + alarm;
    QTest::newRow("an alarm after every 500 replies, past the read buffer, then a reset")
        << mixed << 6 << 4 << "reset";
    QTest::newRow("an alarm after every 500 replies, past the read buffer, then a close")
        << mixed << 6 << 4 << "close";
    QTest::newRow("an alarm after every 500 replies, past the read buffer, then a close, the link made anew")
        << mixed << 6 << 4 << "close, anew";
}

void TestBusTransport::streamUnderPressure()
{
    QFETCH(QByteArray, unit);
    QFETCH(int, times);
    QFETCH(int, later);
    QFETCH(QString, end);
    const QDeadlineTimer patience(60000); // the row's own wait, whatever holds it up
    QTcpServer server;
    QVERIFY(server.listen(CloudAddress, BroadcastSocket::CloudPort));
    useStyle(NetStyleCloudServer);
    auto socket = newSocket();
    QSignalSpy state(socket.get(), &BroadcastSocket::signalsNetworkConnectState);
    QVERIFY(socket->createSocket() && server.waitForNewConnection(3000));
    QTcpSocket *peer = server.nextPendingConnection();
    const QByteArray last = deviceFrame(0x0032, "last");
    const bool frames = SimFrame::parse(unit).valid;
    const QByteArray expected = (frames ? unit.repeated(times + later) : QByteArray()) + (end.isEmpty() ? last : "");
    QByteArray received;
    qint64 held = 0;
    bool delivered = end.isEmpty();
    const auto endLink = [&] {
        peer->write(unit.repeated(later));
        const int fd = int(peer->socketDescriptor());
        delivered = varnotest::acknowledged(*peer, fd, patience);
        if (end.startsWith("reset"))
            varnotest::resetOnClose(fd);
        peer->close();
    };
    connect(socket.get(), &BroadcastSocket::dataIsComming, this, [&](quint8 *buffer, qlonglong length) {
        const QByteArray frame(reinterpret_cast<const char *>(buffer), int(length));
        if (received.isEmpty() && !end.isEmpty())
            endLink();
        received += frame;
        held = qMax(held, socket->streamBytesHeld());
        if (SimFrame::parse(frame).code == 0xE01C)
            socket->sendCommand(13, 0xE01D, 255, 255, buffer + 25, 2);
    });
    // Made anew before the frames kept at the end are handed on: the closing link hands them on.
    if (end.endsWith("anew")) {
        connect(socket.get(), &BroadcastSocket::signalsNetworkConnectState, this, [&] {
            QMetaObject::invokeMethod(this, [&] { QVERIFY(socket->createSocket()); }, Qt::QueuedConnection);
        });
    }
    QVERIFY(peer->write(unit.repeated(times) + (end.isEmpty() ? last : QByteArray())) > 0);
    QTimer sample;
    connect(&sample, &QTimer::timeout, this, [&] { held = qMax(held, socket->streamBytesHeld()); });
    sample.start(1);
    // Not QTRY: on failing, it waits twice as long again.
    const bool arrived = QTest::qWaitFor([&] { return received.size() >= expected.size(); },
                                         int(patience.remainingTime()));
    QVERIFY2(arrived, qPrintable(QString::number(received.size())));
    SimBus::pump(20); // nothing more comes
    QVERIFY2(delivered, "the system did not take what was written");
    QVERIFY2(received == expected, qPrintable(QString("%1 of %2 bytes").arg(received.size()).arg(expected.size())));
    // Once the link has failed, the system's receive buffer is held too.
    const qint64 bound = BroadcastSocket::StreamReadBuffer * (end.isEmpty() ? 1 : 3) + 2 * StreamFrames::MaxFrame;
    QVERIFY2(held > 0 && held <= bound, qPrintable(QString("held %1 bytes").arg(held)));
    QTRY_COMPARE(texts(state), end.isEmpty() ? QStringList() : QStringList{"disconnect from 127.0.0.1!"});
}

// Made anew fifty times while the system holds alarms for the link, not yet read, each time in the
// other style: each alarm is handed on, in order, before the old link goes, and answered on it;
// each old connection ends, and no descriptor is left behind. Once, 1,000 alarms have begun to be
// handed on: the rest lie kept, in Qt's buffer and in the system.
void TestBusTransport::linkMadeAnewHandsOnWhatItHolds()
{
    QTcpServer server;
    QVERIFY(server.listen(CloudAddress, BroadcastSocket::CloudPort) && m_sim->listenUdp(SimAddress, 6000));
    useStyle(NetStyleCloudServer);
    auto socket = newSocket();
    FrameCollector collector(*socket);
    connect(socket.get(), &BroadcastSocket::dataIsComming, this, [&socket](quint8 *buffer, qlonglong) {
        socket->sendCommand(13, 0xE01D, 255, 255, buffer + 25, 2); // each an alarm, answered
    });
    QVERIFY(socket->createSocket());
    // A QDir keeps the list it read.
    const auto descriptors = [] { return QDir(QStringLiteral("/proc/self/fd")).count(); };
    const uint open = descriptors();
    QByteArray sent, answers;
    int toCloud = 0;
    for (int round = 1; round <= 50; ++round) {
        const bool cloud = gl_net_style == NetStyleCloudServer;
        const bool accepted = cloud && (server.hasPendingConnections() || server.waitForNewConnection(3000));
        std::unique_ptr<QTcpSocket> peer(accepted ? server.nextPendingConnection() : nullptr);
        QVERIFY(peer || !cloud);
        const int alarms = round == 47 || round == 49 ? 1000 : 20, before = collector.blocks.size();
        for (int i = 0; i < alarms; ++i) {
            sent += deviceFrame(0xE01C, QByteArray(1, char(i)) + '\x01');
            cloud ? void(peer->write(sent.right(29))) : m_sim->sendRaw(sent.right(29), CloudAddress, 6000);
        }
        toCloud += cloud ? alarms : 0;
        QVERIFY(!peer || peer->flush());
        if (round == 47) // all of them held by the system, more than one read of it
            QVERIFY(varnotest::acknowledged(*peer, int(peer->socketDescriptor()), QDeadlineTimer(30000)));
        if (round == 49) { // one turn of the stream, then the link is made anew
            QEventLoop turn;
            connect(socket.get(), &BroadcastSocket::dataIsComming, &turn, &QEventLoop::quit);
            QTimer::singleShot(3000, &turn, &QEventLoop::quit);
            turn.exec();
            QVERIFY(collector.blocks.size() > before);
        }
        useStyle(cloud ? NetStyleDnsServer : NetStyleCloudServer);
        QVERIFY(socket->createSocket());
        QCOMPARE(collector.joined(), sent);
        if (peer) { // the answers, then the end
            QVERIFY(peer->state() == QAbstractSocket::UnconnectedState || peer->waitForDisconnected(3000));
            answers += peer->readAll();
        }
        QVERIFY(m_sim->waitForFrames(20 * (round / 2)));
    }
    QCOMPARE(answers.count(QByteArray::fromHex("ccc2e01d")), toCloud);
    QCOMPARE(m_sim->framesWithCode(0xE01D).size(), 500);
    if (server.hasPendingConnections()) // the last link's, taken by the server meanwhile
        delete server.nextPendingConnection();
    QCOMPARE(descriptors(), open);
}

void TestBusTransport::closedLinkLetsThePortGo_data()
{
    QTest::addColumn<int>("style");
    QTest::newRow("dns server") << int(NetStyleDnsServer);
    QTest::newRow("local network") << int(NetStyleLocalNetwork);
}

// A closed datagram link is closed at once, not when its object goes: a socket that
// shares nothing takes the port (the system would otherwise queue datagrams for the old one).
void TestBusTransport::closedLinkLetsThePortGo()
{
    QFETCH(int, style);
    useStyle(style);
    auto socket = newSocket();
    QVERIFY(socket->createSocket());
    QUdpSocket own;
    QVERIFY(!own.bind(QHostAddress::AnyIPv4, BroadcastSocket::BusPort, QUdpSocket::DontShareAddress));
    socket->closeSocket();
    QVERIFY2(own.bind(QHostAddress::AnyIPv4, BroadcastSocket::BusPort, QUdpSocket::DontShareAddress),
             qPrintable(own.errorString()));
}

VARNO_TEST_MAIN(TestBusTransport)
#include "tst_bustransport.moc"
