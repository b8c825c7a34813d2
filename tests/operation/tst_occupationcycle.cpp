// The occupation and master item against a simulated occupation sensor and an
// output module whose channel is the master switch: one cycle for both devices,
// the lost-connection messages and the master press. Runs only inside the
// private network namespace of ./test (VARNO_NETNS=1).

#include "testmain.h"

#include "climatebus.h"
#include "climatefixture.h"
#include "operation/deviceitem.h"
#include "operation/occupationmasteritem.h"
#include "simlight.h"
#include "simoccupation.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <qtmateriallabel.h>

using namespace climatefix;

class TestOccupationCycle : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_db = 0;
    BusRig m_bus;
    SimOccupation *m_sensor = nullptr;
    SimLight *m_module = nullptr;

    // The room's rows; a zero subnet leaves that table without a row.
    static void insertRows(int occupationSubnet, int masterSubnet)
    {
        if (occupationSubnet)
            gl_sqlite3db.execDML(
                QStringLiteral("insert into tbl_occupation(subnet_id,device_id,channel,status,"
                               "room_id) values(%1,20,2,0,%2)")
                    .arg(occupationSubnet)
                    .arg(Room));
        if (masterSubnet)
            gl_sqlite3db.execDML(QStringLiteral("insert into tbl_master(subnet_id,device_id,channel,status,"
                                                "room_id) values(%1,30,3,0,%2)")
                                     .arg(masterSubnet)
                                     .arg(Room));
    }

    std::unique_ptr<OccupationMasterItem> item()
    {
        auto om = std::make_unique<OccupationMasterItem>(36, 36);
        om->setOccupationMaster(loadOccupationMaster(Room));
        om->show();
        SimBus::pump(20);
        return om;
    }

private slots:
    void initTestCase()
    {
        if (!BusRig::available())
            QSKIP("needs the private network namespace of ./test (VARNO_NETNS=1)");
        Q_INIT_RESOURCE(pictures);
        QString error;
        QVERIFY2(m_bus.open(&error), qPrintable(error));
        m_sensor = m_bus.sim->add<SimOccupation>(quint8(1), quint8(20), 4);
        m_module = m_bus.sim->add<SimLight>(quint8(1), quint8(30), 4);
    }

    void init()
    {
        ++m_db;
        openProject(m_dir.filePath(QStringLiteral("f%1").arg(m_db)),
                    m_dir.filePath(QStringLiteral("p%1.db3").arg(m_db)));
        DeviceItem::setIntervalScale(1.0);
        m_sensor->reset();
        m_module->reset();
        m_bus.clear();
    }

    void cleanupTestCase()
    {
        if (m_bus.sim)
            m_bus.close();
        gl_sqlite3db.close();
    }

    void nothingConfigured()
    {
        auto om = item();
        QVERIFY(!om->isOccupationShown());
        QVERIFY(!om->isMasterShown());
        om->getStatus();
        QVERIFY(om->status());
        SimBus::pump(1200);
        QVERIFY(m_bus.sent().isEmpty());
    }

    void onlyTheMaster()
    {
        insertRows(0, 1);
        m_module->setLevel(3, 80);
        auto om = item();
        QVERIFY(!om->isOccupationShown());
        om->getStatus();
        QTRY_VERIFY_WITH_TIMEOUT(om->status(), 2000);
        QCOMPARE(m_bus.sentText(), QStringList{"0033:30:03"});
        QCOMPARE(om->masterText(), QStringLiteral("On"));
        QCOMPARE(om->masterPicture(), QStringLiteral(":/myImages/png/master_on.png"));
        QCOMPARE(tableStatus(QStringLiteral("tbl_master")).toInt(), 2);
        QCOMPARE(logRows(), QStringList{"0|master|status is on"});
    }

    void bothInOneCycle()
    {
        insertRows(1, 1);
        m_sensor->setOccupied(2, true);
        auto om = item();
        // The master query follows the sensor's reply at once: with every tick
        // 1000 s away, only the reply can bring it.
        DeviceItem::setIntervalScale(1000.0);
        om->getStatus();
        QTRY_VERIFY_WITH_TIMEOUT(om->status(), 2000);
        DeviceItem::setIntervalScale(1.0);
        QCOMPARE(m_bus.sentText(), (QStringList{"012c:20:", "0033:30:03"}));
        QCOMPARE(om->occupationText(), QStringLiteral("Occupied"));
        QCOMPARE(om->masterText(), QStringLiteral("Off"));
        QCOMPARE(tableStatus(QStringLiteral("tbl_occupation")).toInt(), 2);
        QCOMPARE(tableStatus(QStringLiteral("tbl_master")).toInt(), 1);
        QCOMPARE(logRows(), (QStringList{"0|occupation|status is occupied", "0|master|status is off"}));

        // A second cycle with the same states logs nothing new.
        m_bus.clear();
        om->getStatus();
        QTRY_VERIFY_WITH_TIMEOUT(om->status(), 2000);
        QCOMPARE(logRows().size(), 2);
        m_sensor->setOccupied(2, false);
        om->getStatus();
        QTRY_VERIFY_WITH_TIMEOUT(om->status(), 2000);
        QCOMPARE(om->occupationText(), QStringLiteral("Unoccupied"));
        QCOMPARE(logRows().last(), QStringLiteral("0|occupation|status is unoccupied"));
    }

    void lostConnection_data()
    {
        QTest::addColumn<bool>("sensorSilent");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<int>("times");
        QTest::newRow("occupation") << true << "occupation(1-20) lost connection"
                                    << "012c:20:" << 10;
        // Once at once after the sensor's reply, then at ten ticks.
        QTest::newRow("master") << false << "master(1-30) lost connection"
                                << "0033:30:03" << 11;
    }

    void lostConnection()
    {
        QFETCH(bool, sensorSilent);
        QFETCH(QString, message);
        QFETCH(QString, asked);
        QFETCH(int, times);
        DeviceItem::setIntervalScale(0.05);
        insertRows(1, 1);
        if (sensorSilent)
            m_sensor->setDefaultAnswer(SimAnswer::silent());
        else
            m_module->setDefaultAnswer(SimAnswer::silent());
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
        auto om = item();
        om->getStatus();
        QTRY_VERIFY_WITH_TIMEOUT(om->status(), 3000);
        // The tick after the tenth frame says so; then nothing more comes.
        QTRY_COMPARE_WITH_TIMEOUT(info.count(), 1, 3000);
        SimBus::pump(200);
        QCOMPARE(info.count(), 1);
        QCOMPARE(info.at(0).at(0).toString(), message);
        QCOMPARE(m_bus.sentText().count(asked), times);
        if (sensorSilent)
            QCOMPARE(m_bus.sentText().size(), 10); // the master is never asked
    }

    void pageChangeEndsTheCycleQuietly()
    {
        DeviceItem::setIntervalScale(0.05);
        insertRows(1, 0);
        m_sensor->setDefaultAnswer(SimAnswer::silent());
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
        auto om = item();
        om->getStatus();
        SimBus::pump(120);
        emit gl_socket.signalsStopRefresh(false);
        // What left before the stop is taken in without a turn of the loop: nothing after it counts.
        m_bus.sim->takeArrived(20);
        const int sent = m_bus.sent().size();
        SimBus::pump(800);
        QCOMPARE(m_bus.sent().size(), sent);
        QCOMPARE(info.count(), 0);
        QVERIFY(!om->status());
    }

    void pressingTheMaster()
    {
        insertRows(1, 1);
        auto om = item();
        QCOMPARE(om->masterText(), QStringLiteral("Unknown"));
        QVERIFY(QTest::qWaitForWindowExposed(om.get()));
        m_module->setAnswer(SimLight::SetLevel, SimAnswer::silent().once());
        DeviceItem::setIntervalScale(0.1);
        QTest::mouseClick(om->masterButton(), Qt::LeftButton);
        // Shown at once, written only when confirmed.
        QCOMPARE(om->masterText(), QStringLiteral("On"));
        QCOMPARE(tableStatus(QStringLiteral("tbl_master")).toInt(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(om->status(), 2000);
        QCOMPARE(m_bus.sentText(), (QStringList{"0031:30:03640000", "0031:30:03640000"}));
        QCOMPARE(m_module->level(3), 100);
        QCOMPARE(tableStatus(QStringLiteral("tbl_master")).toInt(), 2);
        QCOMPARE(logRows(), QStringList{"0|master|status is on"});

        m_bus.clear();
        QTest::mouseClick(om->masterButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(om->status(), 2000);
        QCOMPARE(m_bus.sentText(), QStringList{"0031:30:03000000"});
        QCOMPARE(om->masterText(), QStringLiteral("Off"));
        QCOMPARE(tableStatus(QStringLiteral("tbl_master")).toInt(), 1);
    }

    void unconfirmedPressKeepsTheShownState()
    {
        DeviceItem::setIntervalScale(0.05);
        insertRows(0, 1);
        m_module->setDefaultAnswer(SimAnswer::silent());
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
        auto om = item();
        QVERIFY(QTest::qWaitForWindowExposed(om.get()));
        QTest::mouseClick(om->masterButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(om->status(), 3000);
        // The tick after the tenth frame says so; then nothing more comes.
        QTRY_COMPARE_WITH_TIMEOUT(info.count(), 1, 3000);
        SimBus::pump(200);
        QCOMPARE(m_bus.sent().size(), 10);
        QCOMPARE(info.count(), 1);
        QCOMPARE(info.at(0).at(0).toString(), QStringLiteral("master(1-30) lost connection"));
        QCOMPARE(om->masterText(), QStringLiteral("On"));
        QCOMPARE(tableStatus(QStringLiteral("tbl_master")).toInt(), 0);
        QVERIFY(logRows().isEmpty());
    }
};

VARNO_TEST_MAIN(TestOccupationCycle)
#include "tst_occupationcycle.moc"
