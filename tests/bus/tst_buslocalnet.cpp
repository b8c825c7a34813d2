// The "Local Network" style on a real broadcast network: inside the private
// network namespace of the test run, a veth pair joins this process
// (10.77.0.1/24) with a second namespace (10.77.0.2/24) where the simulated
// devices run. Also the own and broadcast address helpers, whose answers depend
// on the interfaces. Skipped wherever such a namespace cannot be had: nothing
// here ever runs in the machine's own network namespace.

#include "testmain.h"

#include "framecollector.h"

#include "bus/broadcastsocket.h"
#include "bus/localaddress.h"
#include "simframe.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QFile>
#include <QNetworkInterface>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

const QString VarnoSide = QStringLiteral("varno0");
const QString DeviceSide = QStringLiteral("varno1");
const QString SecondPair = QStringLiteral("varno2");
const QString SecondPeer = QStringLiteral("varno3");
const QString OwnAddress = QStringLiteral("10.77.0.1");
const QString DeviceAddress = QStringLiteral("10.77.0.2");

QString findTool(const QString &name)
{
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty()) {
        path = QStandardPaths::findExecutable(
            name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"), QStringLiteral("/usr/bin"),
                   QStringLiteral("/bin")});
    }
    return path;
}

QString netnsOf(qint64 pid)
{
    const QString link = pid > 0 ? QStringLiteral("/proc/%1/ns/net").arg(pid)
                                 : QStringLiteral("/proc/self/ns/net");
    return QFile::symLinkTarget(link);
}

} // namespace

class TestBusLocalNet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void hostIpStaysWithOnlyLoopback();
    void hostIpKeptWhileStillValid();
    void hostIpReplacedAndStored();
    void broadcastAddress_data();
    void broadcastAddress();
    void broadcastOfFirstEntryWins();
    void roundTripThroughTheBroadcast();
    void keepAliveReachesTheNetwork();

private:
    bool run(const QStringList &command, QString *error = nullptr);
    bool inDevices(const QStringList &command);
    void ensureNetwork();
    QString storedHostIp();
    QStringList simLines(const QString &prefix);

    QString m_ip;
    QString m_nsenter;
    QString m_unshare;
    QTemporaryDir m_dir;
    QProcess m_holder;  // keeps the devices' namespace alive
    QProcess m_devices; // varno-simdevice inside it
    QByteArray m_simOutput;
    bool m_networkReady = false;
    QString m_networkError;
};

bool TestBusLocalNet::run(const QStringList &command, QString *error)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.first(), command.mid(1));
    const bool ok = process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
    if (!ok && error)
        *error = command.join(' ') + ": " + QString::fromLocal8Bit(process.readAll()).trimmed();
    return ok;
}

bool TestBusLocalNet::inDevices(const QStringList &command)
{
    QStringList full{m_nsenter, QStringLiteral("-t"), QString::number(m_holder.processId()),
                     QStringLiteral("-n"), QStringLiteral("--")};
    full += command;
    return run(full, &m_networkError);
}

void TestBusLocalNet::initTestCase()
{
    if (qgetenv("VARNO_NETNS") != "1")
        QSKIP("runs only inside the private network namespace of ./test (VARNO_NETNS=1)");
    if (geteuid() != 0)
        QSKIP("making a veth pair needs root in the test's namespace");
    m_ip = findTool(QStringLiteral("ip"));
    m_nsenter = findTool(QStringLiteral("nsenter"));
    m_unshare = findTool(QStringLiteral("unshare"));
    if (m_ip.isEmpty() || m_nsenter.isEmpty() || m_unshare.isEmpty())
        QSKIP("needs the ip, nsenter and unshare tools");
    if (!QFile::exists(QStringLiteral(VARNO_SIMDEVICE_PATH)))
        QSKIP("the varno-simdevice program was not built");

    // Only a namespace made for the tests holds nothing but lo (and what an
    // earlier run of this test left behind). Nothing is touched before that is
    // known.
    QStringList leftovers;
    for (const QNetworkInterface &iface : QNetworkInterface::allInterfaces()) {
        const QString name = iface.name();
        if (name == QLatin1String("lo"))
            continue;
        if (name == VarnoSide || name == SecondPair || name == SecondPeer) {
            leftovers.append(name);
            continue;
        }
        QSKIP(qPrintable(QStringLiteral("interface %1 exists: this is not a private network "
                                        "namespace").arg(name)));
    }
    for (const QString &name : leftovers)
        run({m_ip, QStringLiteral("link"), QStringLiteral("del"), name});

    QVERIFY(m_dir.isValid());
    gl_sqlite3db.setDbName(m_dir.filePath(QStringLiteral("net.db3")));
    gl_sqlite3db.open();
    QVERIFY(gl_sqlite3db.execDML(
        QStringLiteral("create table tbl_network (id integer primary key, host_ip text)")));
}

void TestBusLocalNet::cleanupTestCase()
{
    if (m_devices.state() != QProcess::NotRunning) {
        m_devices.closeWriteChannel();
        if (!m_devices.waitForFinished(2000)) {
            m_devices.kill();
            m_devices.waitForFinished(2000);
        }
    }
    if (m_holder.state() != QProcess::NotRunning) {
        m_holder.kill();
        m_holder.waitForFinished(2000);
    }
    if (!m_ip.isEmpty()) {
        run({m_ip, QStringLiteral("link"), QStringLiteral("del"), VarnoSide});
        run({m_ip, QStringLiteral("link"), QStringLiteral("del"), SecondPair});
    }
    gl_sqlite3db.close();
}

void TestBusLocalNet::init()
{
    if (!gl_sqlite3db.isOpen())
        gl_sqlite3db.open();
    gl_sqlite3db.execDML(QStringLiteral("delete from tbl_network"));
    gl_sqlite3db.execDML(QStringLiteral("insert into tbl_network (id, host_ip) values (1, 'stored')"));
    gl_net_style = NetStyleLocalNetwork;
}

QString TestBusLocalNet::storedHostIp()
{
    QString text;
    getTextFromDb(QStringLiteral("select host_ip from tbl_network"), QStringLiteral("host_ip"),
                  text);
    return text;
}

void TestBusLocalNet::ensureNetwork()
{
    if (m_networkReady)
        return;
    if (!m_networkError.isEmpty())
        QFAIL(qPrintable(m_networkError));

    m_holder.start(m_unshare, {QStringLiteral("--net"), QStringLiteral("sleep"),
                               QStringLiteral("600")});
    QVERIFY(m_holder.waitForStarted());
    // unshare runs sleep once the new namespace exists.
    QTRY_VERIFY_WITH_TIMEOUT(netnsOf(m_holder.processId()) != netnsOf(0)
                                 && !netnsOf(m_holder.processId()).isEmpty(),
                             3000);

    const QString pid = QString::number(m_holder.processId());
    QVERIFY2(run({m_ip, "link", "add", VarnoSide, "type", "veth", "peer", "name", DeviceSide},
                 &m_networkError),
             qPrintable(m_networkError));
    QVERIFY2(run({m_ip, "link", "set", DeviceSide, "netns", pid}, &m_networkError),
             qPrintable(m_networkError));
    QVERIFY2(run({m_ip, "addr", "add", OwnAddress + "/24", "dev", VarnoSide}, &m_networkError),
             qPrintable(m_networkError));
    QVERIFY2(run({m_ip, "link", "set", VarnoSide, "up"}, &m_networkError),
             qPrintable(m_networkError));
    QVERIFY2(inDevices({m_ip, "link", "set", "lo", "up"}), qPrintable(m_networkError));
    QVERIFY2(inDevices({m_ip, "addr", "add", DeviceAddress + "/24", "dev", DeviceSide}),
             qPrintable(m_networkError));
    QVERIFY2(inDevices({m_ip, "link", "set", DeviceSide, "up"}), qPrintable(m_networkError));

    connect(&m_devices, &QProcess::readyReadStandardOutput, this,
            [this] { m_simOutput += m_devices.readAllStandardOutput(); });
    m_devices.start(m_nsenter, {"-t", pid, "-n", "--", QStringLiteral(VARNO_SIMDEVICE_PATH),
                                "--udp", "0.0.0.0:6000", "--header-ip", DeviceAddress,
                                "--device", "1/10/VETH-FW", "--exit-on-eof"});
    QVERIFY(m_devices.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(m_simOutput.contains("READY"), 5000);
    m_networkReady = true;
}

QStringList TestBusLocalNet::simLines(const QString &prefix)
{
    QStringList found;
    const QStringList lines = QString::fromLatin1(m_simOutput).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(prefix))
            found.append(line);
    }
    return found;
}

void TestBusLocalNet::hostIpStaysWithOnlyLoopback()
{
    for (const QHostAddress &address : QNetworkInterface::allAddresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol
            && address != QHostAddress(QHostAddress::LocalHost))
            QSKIP("the namespace has another IPv4 address besides 127.0.0.1");
    }
    gl_host_ip = QStringLiteral("192.0.2.1");
    getHostIP();
    QCOMPARE(gl_host_ip, QStringLiteral("192.0.2.1"));
    QCOMPARE(storedHostIp(), QStringLiteral("stored"));
    QCOMPARE(getBroadcastIp(), QHostAddress(QHostAddress::Broadcast));
}

void TestBusLocalNet::hostIpKeptWhileStillValid()
{
    ensureNetwork();
    // Another address listed before ours: lo comes before the veth.
    QVERIFY(run({m_ip, "addr", "add", "10.77.5.5/32", "dev", "lo"}));
    gl_host_ip = OwnAddress;
    getHostIP();
    run({m_ip, "addr", "del", "10.77.5.5/32", "dev", "lo"});
    QCOMPARE(gl_host_ip, OwnAddress);
    QCOMPARE(storedHostIp(), QStringLiteral("stored"));
}

void TestBusLocalNet::hostIpReplacedAndStored()
{
    ensureNetwork();
    gl_host_ip = QStringLiteral("192.0.2.1");
    getHostIP();
    QCOMPARE(gl_host_ip, OwnAddress);
    QCOMPARE(storedHostIp(), OwnAddress);
}

void TestBusLocalNet::broadcastAddress_data()
{
    QTest::addColumn<QString>("hostIp");
    QTest::addColumn<QString>("broadcast");
    QTest::newRow("own address") << OwnAddress << "10.77.0.255";
    QTest::newRow("the device's address, not ours") << DeviceAddress << "255.255.255.255";
    QTest::newRow("another machine's address") << "198.51.100.7" << "255.255.255.255";
    QTest::newRow("loopback") << "127.0.0.1" << "255.255.255.255";
    QTest::newRow("nothing") << QString() << "255.255.255.255";
}

void TestBusLocalNet::broadcastAddress()
{
    QFETCH(QString, hostIp);
    QFETCH(QString, broadcast);
    ensureNetwork();
    gl_host_ip = hostIp;
    QCOMPARE(getBroadcastIp().toString(), broadcast);
}

void TestBusLocalNet::broadcastOfFirstEntryWins()
{
    ensureNetwork();
    // The same address once more, on a later interface with a wider network.
    QVERIFY(run({m_ip, "link", "add", SecondPair, "type", "veth", "peer", "name", SecondPeer}));
    QVERIFY(run({m_ip, "addr", "add", OwnAddress + "/16", "dev", SecondPair}));
    gl_host_ip = OwnAddress;
    const QString broadcast = getBroadcastIp().toString();
    run({m_ip, "link", "del", SecondPair});
    QCOMPARE(broadcast, QStringLiteral("10.77.0.255"));
}

void TestBusLocalNet::roundTripThroughTheBroadcast()
{
    ensureNetwork();
    gl_host_ip = OwnAddress;
    BroadcastSocket socket;
    socket.setId(1, 254);
    socket.setKeepAliveInterval(3600 * 1000);
    QVERIFY(socket.createSocket());
    FrameCollector collector(socket);

    m_simOutput.clear();
    socket.sendCommand(11, 0xEFFD, 1, 10, nullptr, 0);

    QByteArray answer;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            for (const QByteArray &block : collector.blocks) {
                if (SimFrame::parse(block).code == 0xEFFE)
                    answer = block;
            }
            return !answer.isEmpty();
        }(),
        5000);
    QVERIFY(socket.checkRecvBuff_0xAAAA(reinterpret_cast<unsigned char *>(answer.data()),
                                        answer.size()));
    const SimFrame frame = SimFrame::parse(answer);
    QCOMPARE(frame.payload, QByteArray("VETH-FW"));
    QCOMPARE(frame.headerIp.toHex(), QByteArray("0a4d0002"));
    QCOMPARE(frame.sourceSubnet, quint8(1));
    QCOMPARE(frame.sourceDevice, quint8(10));

    // The device heard our frame as a broadcast from 10.77.0.1:6000. Its line may come
    // through its output after its answer has come through the network.
    QTRY_COMPARE_WITH_TIMEOUT(simLines(QStringLiteral("RX 10.77.0.1:6000 0a 4d 00 01 56 4f")).size(), 1, 5000);
    socket.closeSocket();
}

void TestBusLocalNet::keepAliveReachesTheNetwork()
{
    ensureNetwork();
    gl_host_ip = OwnAddress;
    BroadcastSocket socket;
    socket.setKeepAliveInterval(100);
    QVERIFY(socket.createSocket());
    m_simOutput.clear();

    // The device on the other side reports every frame it hears; keep-alives come, one per tick.
    const auto keepAlives = [this] {
        int count = 0;
        for (const QString &line : simLines(QStringLiteral("RX 10.77.0.1:6000 "))) {
            const QByteArray bytes = QByteArray::fromHex(line.section(QLatin1Char(' '), 2).toLatin1());
            if (bytes.size() == 18)
                ++count;
        }
        return count;
    };
    QTRY_VERIFY2_WITH_TIMEOUT(keepAlives() >= 3, qPrintable(QString::number(keepAlives())), 5000);
    socket.closeSocket();
}

VARNO_TEST_MAIN(TestBusLocalNet)
#include "tst_buslocalnet.moc"
