// When the room tabs and the device pages start their devices, measured on the
// bus: simulated lighting modules, an occupation sensor and a master switch on
// 127.0.0.2:6000 ("DNS Server" style). Runs only inside the private network
// namespace of ./test (VARNO_NETNS=1).

#include "testmain.h"

#include "roomproject.h"

#include "bus/broadcastsocket.h"
#include "operation/deviceitem.h"
#include "operation/lightitem.h"
#include "operation/pagedeviceoperatelighting.h"
#include "operation/pageroomoperatelighting.h"
#include "operation/roomitem.h"
#include "shell/refreshingctrl.h"
#include "simbus.h"
#include "simlight.h"
#include "simoccupation.h"
#include "store/projectlist.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

using namespace roomproject;

namespace {

const QHostAddress SimAddress(QStringLiteral("127.0.0.2"));
constexpr int Study = 3;
constexpr int Hall = 12;
// Every interval of the cards twice as long: starts 200 ms apart.
constexpr double Slow = 2.0;
constexpr int Step = 200;
// A coarse timer may fire a little early (5 %, and the millisecond it is
// rounded to): 10 % are allowed.
constexpr double Early = 0.9;

struct Arrival
{
    quint8 device;
    quint16 code;
    qint64 ms;
};

} // namespace

class TestRoomTimings : public QObject
{
    Q_OBJECT

    QTemporaryDir m_app;
    std::unique_ptr<SimBus> m_sim;
    QElapsedTimer m_clock;
    QList<Arrival> m_arrivals;

    // The first frame that reached each device, in order of arrival.
    QList<Arrival> firstFrames() const
    {
        QList<Arrival> out;
        QSet<quint8> seen;
        for (const Arrival &a : m_arrivals) {
            if (!seen.contains(a.device)) {
                seen.insert(a.device);
                out.append(a);
            }
        }
        return out;
    }

    qint64 firstFrameAt(quint8 device) const
    {
        for (const Arrival &a : m_arrivals) {
            if (a.device == device)
                return a.ms;
        }
        return -1;
    }

    // Timers fire late, never (much) early: a device's first frame comes no sooner
    // than its start delay. When the machine is busy it may come later; the order
    // of the frames holds all the same (checked with before()).
    void notBefore(quint8 device, qint64 start, int delay)
    {
        const qint64 at = firstFrameAt(device);
        QVERIFY2(at >= 0, qPrintable(QStringLiteral("device %1 got no frame").arg(device)));
        QVERIFY2(at - start >= qint64(delay * Early),
                 qPrintable(QStringLiteral("device %1: first frame after %2 ms, not before %3 ms expected")
                                .arg(device)
                                .arg(at - start)
                                .arg(delay)));
    }

    // The first frame to a reached b first (a's start is a step or more earlier).
    bool before(quint8 a, quint8 b) const
    {
        return firstFrameAt(a) >= 0 && firstFrameAt(b) >= 0 && firstFrameAt(a) <= firstFrameAt(b);
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariable("VARNO_NETNS") != QLatin1String("1"))
            QSKIP("needs the private network namespace of ./test (VARNO_NETNS=1)");
        QVERIFY(m_app.isValid());
        gl_curPath = m_app.path();
        preInitProject();
        addRegion(1, QStringLiteral("North"));
        addFloor(1, 1, QStringLiteral("Ground"));
        addRoom(Hall, QStringLiteral("Hall"), 1, 1);
        addRoom(Study, QStringLiteral("Study"), 1, 1);
        screen_cx = 1920;

        gl_socket.setId(1, 254);
        gl_net_style = NetStyleDnsServer;
        gl_domain_name = QStringLiteral("127.0.0.2");
        gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
        gl_host_ip = QStringLiteral("192.168.1.5");
        gl_socket.setKeepAliveInterval(3600 * 1000);

        m_sim = std::make_unique<SimBus>();
        QVERIFY2(m_sim->listenUdp(SimAddress, 6000), qPrintable(m_sim->errorString()));
        for (quint8 device : {20, 21, 22, 23, 24, 31})
            m_sim->add<SimLight>(quint8(1), device, 4);
        m_sim->add<SimOccupation>(quint8(1), quint8(30), 4);
        connect(m_sim.get(), &SimBus::frameReceived, this, [this](const SimFrame &f) {
            if (f.kind == SimFrame::Bus && f.valid)
                m_arrivals.append({f.targetDevice, f.code, m_clock.elapsed()});
        });
        QVERIFY(gl_socket.createSocket());
        m_clock.start();
    }
    void init()
    {
        exec(QStringLiteral("delete from tbl_light"));
        exec(QStringLiteral("delete from tbl_occupation"));
        exec(QStringLiteral("delete from tbl_master"));
        DeviceItem::setIntervalScale(Slow);
        SimBus::pump(20);
        m_sim->clear();
        m_arrivals.clear();
    }
    void cleanup() { DeviceItem::setIntervalScale(1.0); }
    void cleanupTestCase()
    {
        DeviceItem::setIntervalScale(1.0);
        gl_socket.closeSocket();
        gl_sqlite3db.close();
    }

    void tabStartsOccupationFirstThenCardsApart()
    {
        for (int i = 0; i < 3; ++i) {
            Light l;
            l.room = Hall;
            l.lightId = i + 1;
            l.device = quint8(20 + i);
            addLight(l);
        }
        addRoomDevice(QStringLiteral("tbl_occupation"), Hall, 1, 30, 1);
        addRoomDevice(QStringLiteral("tbl_master"), Hall, 1, 31, 2);
        PageRoomOperateLighting tab;
        tab.resize(1920, 1000);
        tab.show();
        tab.updatelist(Hall);

        const qint64 start = m_clock.elapsed();
        tab.startRefresh();
        QTRY_COMPARE_WITH_TIMEOUT(tab.refreshControl()->statusText(), QStringLiteral("Refresh Successfully"),
                                  5000);
        const qint64 done = m_clock.elapsed() - start;

        const QList<Arrival> first = firstFrames();
        QVERIFY(first.size() >= 5);
        // The occupation sensor is asked first, the master once it has answered.
        QCOMPARE(first.at(0).device, quint8(30));
        QCOMPARE(first.at(0).code, quint16(0x012C));
        // Then the cards, one step apart: 20 at once, 21 a step later, 22 two.
        notBefore(21, start, Step);
        notBefore(22, start, 2 * Step);
        QVERIFY(before(20, 21));
        QVERIFY(before(21, 22));
        // The master answers at once after the sensor, before the second card starts.
        QVERIFY(before(31, 21));
        // The refresh ends only after the last card has been read.
        QVERIFY2(done >= qint64(2 * Step * Early), qPrintable(QString::number(done)));
        for (DeviceItem *card : tab.cards())
            QVERIFY(card->status());
    }

    void pageStaggersBlocksAndTheirCards()
    {
        // Study (room 3) comes before Hall (room 12).
        int id = 1;
        for (auto [room, device] :
             {std::pair<int, int>{Study, 20}, {Study, 21}, {Study, 24}, {Hall, 22}, {Hall, 23}}) {
            Light l;
            l.room = room;
            l.lightId = id++;
            l.device = device;
            addLight(l);
        }
        addRoomDevice(QStringLiteral("tbl_occupation"), Hall, 1, 30, 1);
        PageDeviceOperateLighting page(QStringLiteral("Lighting"), QStringLiteral("Lighting"));
        page.resize(1920, 1080);
        page.show();
        page.updatelist();
        QCOMPARE(page.roomItems().size(), 2);

        const qint64 start = m_clock.elapsed();
        page.startRefresh();
        QTRY_COMPARE_WITH_TIMEOUT(page.refreshControl()->statusText(),
                                  QStringLiteral("Refresh Successfully"), 5000);
        // Block k starts at k steps, and its card i i steps later; the block's
        // occupation sensor before its first card. Study: 20 at 0, 21 at one
        // step, 24 at two; Hall: sensor 30 and 22 at one step, 23 at two.
        notBefore(21, start, Step);
        notBefore(30, start, Step);
        notBefore(22, start, Step);
        notBefore(23, start, 2 * Step);
        QVERIFY(before(20, 21));
        QVERIFY(before(20, 30));
        QVERIFY(before(30, 22));
        // Study's third card starts two steps in: Hall's block (one step in) and
        // its first card come before it, its second card after.
        QVERIFY(before(22, 24));
        QVERIFY(before(21, 23));
        QVERIFY(before(22, 23));
        for (RoomItem *room : page.roomItems())
            QVERIFY(room->status());
    }
};

VARNO_TEST_MAIN(TestRoomTimings)
#include "tst_roomtimings.moc"
