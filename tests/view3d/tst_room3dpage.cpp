// The room's 3-D page ("Operate Room 3D View") against simulated lighting
// modules, an occupation sensor and a master switch on 127.0.0.2:6000 ("DNS
// Server" style): which rooms get the "Lighting" tab, the refresh header shared
// with the room page, the order and spacing of the first requests, a light that
// never answers, the end of the refresh, and a card shown from its icon. Runs
// only inside the private network namespace of ./test (VARNO_NETNS=1).

#include "testmain.h"

#include "projectfixture.h"
#include "roomproject.h"

#include "bus/broadcastsocket.h"
#include "cardtimers.h"
#include "operation/lightitem.h"
#include "operation/occupationmasteritem.h"
#include "settings/projectswitch.h"
#include "shell/refreshingctrl.h"
#include "simbus.h"
#include "simlight.h"
#include "simoccupation.h"
#include "timerticks.h"
#include "view3d/light3dviewitem.h"
#include "view3d/pageroomoperate3dview.h"
#include "view3d/pageroomoperate3dviewlighting.h"

#include <QElapsedTimer>
#include <QtTest>
#include <qtmateriallabel.h>
#include <qtmaterialtabs.h>

#include <memory>

using namespace roomproject;

class TestRoom3DPage : public QObject
{
    Q_OBJECT

    varnotest::ProjectFolder m_app;
    std::unique_ptr<SimBus> m_sim;
    std::unique_ptr<PageRoomOperate3DView> m_page;
    QElapsedTimer m_clock;
    QList<QPair<int, qint64>> m_frames; // device, ms

    qint64 firstTo(int device) const
    {
        for (const auto &f : m_frames) {
            if (f.first == device)
                return f.second;
        }
        return -1;
    }
    void enter(int room)
    {
        m_frames.clear();
        emit gl_socket.signalsStopRefresh(false);
        emit gl_socket.signalsPageEnter(QString::number(room), QString());
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariable("VARNO_NETNS") != QLatin1String("1"))
            QSKIP("needs the private network namespace of ./test (VARNO_NETNS=1)");
        // Project "B", where light 1 of room 12 is another device, in a room that logs.
        QVERIFY(addProject("B") && setProjectNode("B", "network_type", QString::number(NetStyleDnsServer)));
        QVERIFY(QDir().mkpath(projectFolder("B")));
        initDatabase(projectDatabasePath("B"));
        Light other;
        other.room = 12;
        other.device = 50;
        QVERIFY(addRegion(1, "Villa") && addFloor(1, 1, "Top") && addRoom(12, "Hall", 1, 1));
        QVERIFY(addLight(other));
        initDatabase(projectDatabasePath("Home"));
        addRoom(5, "Store", 1, 1);
        addRoom(12, "Hall", 1, 1);
        Light spare; // the store's only light has no subnet
        spare.room = 5;
        spare.subnet = 0;
        QVERIFY(addLight(spare));
        for (int i = 0; i < 3; ++i) { // the module at device 29 never answers
            Light l;
            l.room = 12;
            l.lightId = i + 1;
            l.device = QList<int>{20, 21, 29}.at(i);
            QVERIFY(addLight(l));
            exec(QStringLiteral(
                     "insert into tbl_3d_view_light(light_id,xp1,yp1,room_id) values(%1,%2,200,12)")
                     .arg(i + 1)
                     .arg(300 + 250 * i));
        }
        QVERIFY(addRoomDevice("tbl_occupation", 12, 1, 30, 1));
        QVERIFY(addRoomDevice("tbl_master", 12, 1, 31, 1));
        // The room page's lighting tab refreshed the room before.
        exec("insert into tbl_last_update(last_update_id,last_update_time) values('12_lighting',"
             "'2026-01-02 03:04:05')");

        gl_socket.setId(1, 254);
        gl_net_style = NetStyleDnsServer;
        gl_domain_name = QStringLiteral("127.0.0.2");
        gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
        gl_host_ip = QStringLiteral("192.168.1.5");
        gl_socket.setKeepAliveInterval(3600 * 1000);
        m_sim = std::make_unique<SimBus>();
        QVERIFY2(m_sim->listenUdp(QHostAddress(gl_domain_name), 6000), qPrintable(m_sim->errorString()));
        for (quint8 device : {20, 21, 31})
            m_sim->add<SimLight>(quint8(1), device, 4);
        m_sim->add<SimOccupation>(quint8(1), quint8(30), 4);
        connect(m_sim.get(), &SimBus::frameReceived, this, [this](const SimFrame &f) {
            if (f.kind == SimFrame::Bus && f.valid)
                m_frames.append({f.targetDevice, m_clock.elapsed()});
        });
        QVERIFY(gl_socket.createSocket());
        m_clock.start();
        m_page = std::make_unique<PageRoomOperate3DView>("Operate Room 3D View", "Hall");
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
        enter(5);
        QCOMPARE(m_page->tabBar()->count(), 0);
        QVERIFY(!m_page->tabBar()->isVisible());
        QVERIFY(!m_page->lightingTab()->isVisible());
        SimBus::pump(400);
        QCOMPARE(m_frames.size(), 0);
    }

    void lightingTab()
    {
        DeviceItem::setIntervalScale(2.0);
        // Each tick of a light card's delayed-start timer, with the frames to its light that had
        // come by then (taken without a turn of the loop, so each left before the tick).
        QStringList ticks;
        const TimerTicks watch([&](const QTimer *timer) {
            Light3DViewItem *overlay = m_page->lightingTab()->overlay();
            for (int i = 0; i < overlay->count(); ++i) {
                if (overlay->lightCard(i) && delayTimerOf(overlay->lightCard(i)) == timer) {
                    m_sim->takeArrived(0);
                    ticks << QStringLiteral("%1: %2 ms, %3 before")
                                 .arg(i)
                                 .arg(timer->interval())
                                 .arg(firstTo(QList<int>{20, 21, 29}.value(i)) >= 0);
                    return true;
                }
            }
            return false;
        });
        enter(12);
        // The first light is asked during the entry.
        m_sim->takeArrived(20);
        QVERIFY(firstTo(20) >= 0);
        QCOMPARE(m_page->tabBar()->count(), 1);
        QCOMPARE(m_page->tabBar()->tabText(0), QStringLiteral("Lighting"));
        PageRoomOperate3DViewLighting *tab = m_page->lightingTab();
        QVERIFY(tab->isVisible());
        QCOMPARE(tab->overlay()->count(), 3);
        // The header shows the time the room page stored, and stores its own.
        QVERIFY(tab->refreshControl()->isVisible());
        QVERIFY(tab->refreshControl()->timeText().contains("2026-01-02 03:04:05"));
        QVERIFY(value("select last_update_time from tbl_last_update where last_update_id='12_lighting'")
                    .toString() != "2026-01-02 03:04:05");
        // Each next one on a tick of its own timer, started at the entry with all the others, 100 ms
        // after the one before (here 200 ms: every card interval doubled).
        QTRY_VERIFY_WITH_TIMEOUT(firstTo(29) >= 0 && firstTo(30) >= 0, 5000);
        QCOMPARE(ticks, (QStringList{"1: 200 ms, 0 before", "2: 400 ms, 0 before"}));

        // The refresh picture starts over, on shorter intervals: the silent
        // light gives up after its tries, and then the header ends.
        DeviceItem::setIntervalScale(0.05);
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
        m_frames.clear();
        QTest::mouseClick(tab->refreshLabel(), Qt::LeftButton, Qt::NoModifier, QPoint(18, 18));
        QVERIFY(!tab->overlay()->status());
        QTRY_COMPARE_WITH_TIMEOUT(tab->refreshControl()->statusText(),
                                  QStringLiteral("Refresh Successfully"), 8000);
        QVERIFY(tab->overlay()->status() && tab->occupationMaster()->status());
        QCOMPARE(int(std::count_if(m_frames.begin(), m_frames.end(), [](auto f) { return f.first == 29; })),
                 int(DeviceItem::MaxTries));
        // Its offline marks and message follow at its next tick.
        QTRY_VERIFY(tab->overlay()->lightCard(2)->isOfflineShown());
        QTRY_VERIFY(info.size() >= 1 && info.last().at(0).toString().endsWith("lost connection"));
        DeviceItem::setIntervalScale(1.0);

        // A press on an icon shows its card in the middle of the overlay.
        Light3DViewItem *overlay = tab->overlay();
        QTest::mouseClick(overlay, Qt::LeftButton, Qt::NoModifier, overlay->position(0) + QPoint(40, 40));
        QVERIFY(overlay->lightCard(0)->isVisible());
        QCOMPARE(overlay->lightCard(0)->pos(),
                 QPoint((overlay->width() - 500) / 2, (overlay->height() - 320) / 2));
        QTRY_VERIFY(!tab->refreshControl()->isVisible());
        QVERIFY(QDir().mkpath(VARNO_SCREENSHOT_DIR));
        QVERIFY(m_page->grab().save(VARNO_SCREENSHOT_DIR "/room3d_card.png"));

        // Leaving while a refresh runs stops it; the overlay's status stays false.
        enter(12);
        emit gl_socket.signalsStopRefresh(false);
        m_page->hide();
        QTRY_VERIFY(!overlay->isChecking());
        QVERIFY(!overlay->status());

        // A switch to "B" drops A's cards. A's light then reports a level and its
        // version: B's rows and log stay, A's file too. B's page shows B's light.
        // A card of A's light that outlives the switch (held here) takes no frame.
        LightItem held(overlay->lightAt(0), true);
        QVERIFY(switchProjectDatabase("B"));
        emit gl_socket.signalsProjectStateChanged("B");
        // B's own link, as the main window makes it, to the same bus.
        gl_domain_name = QStringLiteral("127.0.0.2");
        gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
        QVERIFY(gl_socket.createSocket());
        QCOMPARE(overlay->count(), 0);
        QFile fileA(projectDatabasePath("Home"));
        const QByteArray bytesA = fileA.open(QIODevice::ReadOnly) ? fileA.readAll() : QByteArray();
        const QStringList rowsB = rows("select * from tbl_light") + rows("select * from tbl_log");
        qRegisterMetaType<quint8 *>("quint8*");
        QSignalSpy heard(&gl_socket, &BroadcastSocket::dataIsComming);
        SimDevice *lamp = m_sim->device(1, 20);
        m_sim->sendRaw(lamp->frame(SimLight::Levels, 1, 254, QByteArray::fromHex("044d000000")));
        m_sim->sendRaw(lamp->frame(SimDevice::FirmwareAnswer, 1, 254, "SIM-FW 2.0"));
        QTRY_COMPARE(heard.size(), 2);
        QVERIFY(gl_sqlite3db.flushBatch());
        QCOMPARE(rows("select * from tbl_light") + rows("select * from tbl_log"), rowsB);
        QVERIFY(fileA.seek(0) && fileA.readAll() == bytesA);
        m_page->show();
        enter(12);
        QCOMPARE(overlay->count(), 1);
        QCOMPARE(overlay->lightAt(0).device_id[0], 50);
    }
};

VARNO_TEST_MAIN(TestRoom3DPage)
#include "tst_room3dpage.moc"
