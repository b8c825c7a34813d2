// The room's 3-D page ("Operate Room 3D View") against simulated lighting
// modules, an occupation sensor and a master switch on 127.0.0.2:6000 ("DNS
// Server" style): which rooms get the "Lighting" tab, the refresh header shared
// with the room page, the order and spacing of the first requests, a light that
// never answers, and the end of the refresh. Runs only inside the private
// network namespace of ./test (VARNO_NETNS=1).

#include "testmain.h"

#include "projectfixture.h"
#include "roomproject.h"

#include "bus/broadcastsocket.h"
#include "operation/deviceitem.h"
#include "operation/lightitem.h"
#include "operation/occupationmasteritem.h"
#include "shell/refreshingctrl.h"
#include "simbus.h"
#include "simlight.h"
#include "simoccupation.h"
#include "view3d/light3dviewitem.h"
#include "view3d/pageroomoperate3dview.h"
#include "view3d/pageroomoperate3dviewlighting.h"

#include <QDir>
#include <QElapsedTimer>
#include <QtTest>
#include <qtmateriallabel.h>
#include <qtmaterialtabs.h>

#include <memory>

using namespace roomproject;

namespace {

constexpr int Bare = 5;
constexpr int Hall = 12;
const QHostAddress SimAddress(QStringLiteral("127.0.0.2"));
const QString EarlierRefresh = QStringLiteral("2026-01-02 03:04:05");

} // namespace

class TestRoom3DPage : public QObject
{
    Q_OBJECT

    varnotest::ProjectFolder m_app;
    std::unique_ptr<SimBus> m_sim;
    std::unique_ptr<PageRoomOperate3DView> m_page;
    QElapsedTimer m_clock;
    QList<QPair<quint8, qint64>> m_arrivals;

    qint64 firstFrameAt(quint8 device) const
    {
        for (const auto &a : m_arrivals) {
            if (a.first == device)
                return a.second;
        }
        return -1;
    }
    int framesTo(quint8 device) const
    {
        int n = 0;
        for (const auto &a : m_arrivals)
            n += a.first == device ? 1 : 0;
        return n;
    }
    void enter(int room)
    {
        m_arrivals.clear();
        emit gl_socket.signalsStopRefresh(false);
        emit gl_socket.signalsPageEnter(QString::number(room), QString());
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariable("VARNO_NETNS") != QLatin1String("1"))
            QSKIP("needs the private network namespace of ./test (VARNO_NETNS=1)");
        Q_INIT_RESOURCE(pictures);
        addRegion(1, QStringLiteral("House"));
        addFloor(1, 1, QStringLiteral("Ground"));
        addRoom(Bare, QStringLiteral("Store"), 1, 1);
        addRoom(Hall, QStringLiteral("Hall"), 1, 1);
        exec(QStringLiteral("insert into tbl_3d_view_manager(icon_name,room_id) values('3d_view_07',%1)").arg(Hall));
        Light spare;
        spare.room = Bare;
        spare.subnet = 0;
        QVERIFY(addLight(spare));
        const QList<int> devices{20, 21, 29}; // 29 never answers
        for (int i = 0; i < devices.size(); ++i) {
            Light l;
            l.room = Hall;
            l.lightId = i + 1;
            l.name = QStringLiteral("Light %1").arg(i + 1);
            l.device = devices.at(i);
            QVERIFY(addLight(l));
            exec(QStringLiteral("insert into tbl_3d_view_light(light_id,xp1,yp1,room_id) values(%1,%2,200,%3)")
                     .arg(i + 1)
                     .arg(300 + 250 * i)
                     .arg(Hall));
        }
        QVERIFY(addRoomDevice(QStringLiteral("tbl_occupation"), Hall, 1, 30, 1));
        QVERIFY(addRoomDevice(QStringLiteral("tbl_master"), Hall, 1, 31, 1));
        // The room page's lighting tab refreshed the room earlier.
        exec(QStringLiteral("insert into tbl_last_update(last_update_id,last_update_time) values('%1_lighting',"
                            "'%2')").arg(Hall).arg(EarlierRefresh));

        gl_socket.setId(1, 254);
        gl_net_style = NetStyleDnsServer;
        gl_domain_name = SimAddress.toString();
        gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
        gl_host_ip = QStringLiteral("192.168.1.5");
        gl_socket.setKeepAliveInterval(3600 * 1000);
        m_sim = std::make_unique<SimBus>();
        QVERIFY2(m_sim->listenUdp(SimAddress, 6000), qPrintable(m_sim->errorString()));
        for (quint8 device : {20, 21, 31})
            m_sim->add<SimLight>(quint8(1), device, 4);
        m_sim->add<SimOccupation>(quint8(1), quint8(30), 4);
        connect(m_sim.get(), &SimBus::frameReceived, this, [this](const SimFrame &f) {
            if (f.kind == SimFrame::Bus && f.valid)
                m_arrivals.append({f.targetDevice, m_clock.elapsed()});
        });
        QVERIFY(gl_socket.createSocket());
        m_clock.start();

        m_page = std::make_unique<PageRoomOperate3DView>(QStringLiteral("Operate Room 3D View"),
                                                         QStringLiteral("House-Ground-Hall"));
        m_page->resize(1920, 980);
        m_page->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    }
    void cleanupTestCase()
    {
        m_page.reset();
        DeviceItem::setIntervalScale(1.0);
        gl_socket.closeSocket();
    }

    void roomWithoutAddressedLights()
    {
        enter(Bare);
        QCOMPARE(m_page->getRoomId(), Bare);
        QCOMPARE(m_page->tabBar()->count(), 0);
        QVERIFY(!m_page->tabBar()->isVisible());
        QVERIFY(!m_page->lightingTab()->isVisible());
        SimBus::pump(400);
        QCOMPARE(m_arrivals.size(), 0);
    }

    void lightingTabPollsAndEnds()
    {
        enter(Hall);
        QCOMPARE(m_page->tabBar()->count(), 1);
        QCOMPARE(m_page->tabBar()->tabText(0), QStringLiteral("Lighting"));
        PageRoomOperate3DViewLighting *tab = m_page->lightingTab();
        QVERIFY(tab->isVisible());
        QCOMPARE(tab->overlay()->count(), 3);
        QCOMPARE(tab->overlay()->pictureName(), QStringLiteral("3d_view_07"));
        // The header shows the time the room page stored and stores this one.
        QVERIFY(tab->refreshControl()->isVisible());
        QVERIFY2(tab->refreshControl()->timeText().contains(EarlierRefresh),
                 qPrintable(tab->refreshControl()->timeText()));
        QVERIFY(value(QStringLiteral("select last_update_time from tbl_last_update where "
                                     "last_update_id='12_lighting'")).toString() != EarlierRefresh);

        // The first light is asked first, the next one at least ~100 ms later.
        QTRY_VERIFY_WITH_TIMEOUT(firstFrameAt(20) >= 0 && firstFrameAt(21) >= 0 && firstFrameAt(29) >= 0, 3000);
        QVERIFY(firstFrameAt(20) <= firstFrameAt(21));
        QVERIFY2(firstFrameAt(21) - firstFrameAt(20) >= 80,
                 qPrintable(QStringLiteral("%1 ms apart").arg(firstFrameAt(21) - firstFrameAt(20))));
        QVERIFY(firstFrameAt(29) - firstFrameAt(21) >= 80);
        QVERIFY(firstFrameAt(30) >= 0); // the occupation sensor is asked too

        // The refresh picture starts over, on shorter intervals: the silent
        // light gives up after its tries, then the header ends.
        DeviceItem::setIntervalScale(0.05);
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
        m_arrivals.clear();
        QTest::mouseClick(tab->refreshLabel(), Qt::LeftButton, Qt::NoModifier, QPoint(18, 18));
        QVERIFY(!tab->overlay()->status());
        QTRY_COMPARE_WITH_TIMEOUT(tab->refreshControl()->statusText(), QStringLiteral("Refresh Successfully"), 8000);
        QVERIFY(tab->overlay()->status());
        QVERIFY(tab->occupationMaster()->status());
        QCOMPARE(framesTo(29), int(DeviceItem::MaxTries));
        QVERIFY(tab->overlay()->lightCard(2)->isOfflineShown());
        bool lost = false;
        for (const QList<QVariant> &args : info)
            lost = lost || args.at(0).toString().endsWith(QLatin1String("lost connection"));
        QVERIFY(lost);
        DeviceItem::setIntervalScale(1.0);

        // A press on an icon shows its card in the middle of the overlay.
        Light3DViewItem *overlay = tab->overlay();
        QTest::mouseClick(overlay, Qt::LeftButton, Qt::NoModifier, overlay->position(0) + QPoint(40, 40));
        LightItem *card = overlay->lightCard(0);
        QVERIFY(card->isVisible());
        QCOMPARE(card->pos(), QPoint((overlay->width() - 500) / 2, (overlay->height() - 320) / 2));
        QTRY_VERIFY(!tab->refreshControl()->isVisible());
        QVERIFY(QDir().mkpath(QStringLiteral(VARNO_SCREENSHOT_DIR)));
        QVERIFY(m_page->grab().save(QStringLiteral(VARNO_SCREENSHOT_DIR "/room3d_card.png")));
    }

    void leavingStopsTheRefresh()
    {
        enter(Hall);
        emit gl_socket.signalsStopRefresh(false);
        m_page->hide();
        SimBus::pump(300);
        QVERIFY(!m_page->lightingTab()->overlay()->status());
        QVERIFY(!m_page->lightingTab()->overlay()->isChecking());
        m_page->show();
    }
};

VARNO_TEST_MAIN(TestRoom3DPage)
#include "tst_room3dpage.moc"
