// The air-conditioner card against simulated panels and infrared modules on the
// bus: the query chains with their frame sizes, the unit-index filter, the
// set-point debounce and the confirmed set command, the infrared switch
// sequences and the room temperature. Runs only inside the private network
// namespace of ./test (VARNO_NETNS=1).

#include "testmain.h"

#include "climatebus.h"
#include "climatefixture.h"
#include "operation/acitem.h"
#include "operation/modespeeditem.h"
#include "operation/modespeedselectdlg.h"
#include "shell/sliderctrl.h"
#include "simacpanel.h"
#include "simirmodule.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <qtmaterialgroupbox.h>
#include <qtmaterialslider.h>

using namespace climatefix;

namespace {

const QString Celsius = QStringLiteral("\u00B0C");
const QString Fahrenheit = QStringLiteral("\u00B0F");

} // namespace

class TestAcCycle : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_db = 0;
    BusRig m_bus;
    SimAcPanel *m_panel = nullptr;
    SimIrModule *m_ir = nullptr;
    QList<int> m_replySizes; // frames the devices sent, by size

    std::unique_ptr<ACItem> card(const Unit &u)
    {
        insertUnit(u);
        auto item = std::make_unique<ACItem>(loadUnit(u.no), false);
        item->show();
        // Past the first display, however late a busy machine lets it come.
        if (!QTest::qWaitFor([&item] { return !item->isFirstDisplayPending(); }, 5000))
            QTest::qFail("the card did not show its record", __FILE__, __LINE__);
        return item;
    }

    static Unit panelUnit(int channel)
    {
        Unit u;
        u.channel = channel;
        return u;
    }

    static Unit irUnit(int port, int status, int mode, int speed, int setPoint)
    {
        Unit u;
        u.type = 1;
        u.device = 45;
        u.channel = port;
        u.status = status;
        u.mode = mode;
        u.speed = speed;
        u.cool = u.heat = u.autoPoint = setPoint;
        return u;
    }

    void settle()
    {
        SimBus::pump(20);
        m_bus.clear();
        m_replySizes.clear();
    }

private slots:
    void initTestCase()
    {
        if (!BusRig::available())
            QSKIP("needs the private network namespace of ./test (VARNO_NETNS=1)");
        Q_INIT_RESOURCE(pictures);
        QString error;
        QVERIFY2(m_bus.open(&error), qPrintable(error));
        m_panel = m_bus.sim->add<SimAcPanel>(quint8(1), quint8(40), 3);
        m_ir = m_bus.sim->add<SimIrModule>(quint8(1), quint8(45));
        connect(m_bus.sim.get(), &SimBus::bytesSent, this,
                [this](const QByteArray &bytes) { m_replySizes.append(bytes.size()); });
    }

    void init()
    {
        ++m_db;
        openProject(m_dir.filePath(QStringLiteral("f%1").arg(m_db)),
                    m_dir.filePath(QStringLiteral("p%1.db3").arg(m_db)));
        DeviceItem::setIntervalScale(1.0);
        m_panel->reset(3);
        m_ir->reset();
        settle();
    }

    void cleanupTestCase()
    {
        if (m_bus.sim)
            m_bus.close();
        gl_sqlite3db.close();
    }

    void panelChains_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<QStringList>("queries");
        QTest::addColumn<QList<int>>("querySizes");
        QTest::addColumn<QList<int>>("replySizes");
        QTest::newRow("plain form, unit 1")
            << 1 << QStringList{"effd:40:", "e120:40:", "e124:40:", "1900:40:", "e0ec:40:"}
            << QList<int>{27, 27, 27, 27, 27} << QList<int>{37, 28, 38, 36, 37};
        QTest::newRow("channel form, unit 2")
            << 2 << QStringList{"effd:40:", "e120:40:", "e124:40:01", "1900:40:01", "e0ec:40:01"}
            << QList<int>{27, 27, 28, 28, 28} << QList<int>{37, 28, 39, 37, 39};
        QTest::newRow("channel form, unit 3")
            << 3 << QStringList{"effd:40:", "e120:40:", "e124:40:02", "1900:40:02", "e0ec:40:02"}
            << QList<int>{27, 27, 28, 28, 28} << QList<int>{37, 28, 39, 37, 39};
    }

    void panelChains()
    {
        QFETCH(int, channel);
        QFETCH(QStringList, queries);
        QFETCH(QList<int>, querySizes);
        QFETCH(QList<int>, replySizes);
        m_panel->setFirmware("HDL-AC 1.5");
        m_panel->setTemperatureUnit(0);
        SimAcPanel::AcUnit &u = m_panel->unit(channel);
        u.status = 1;
        u.mode = 1;
        u.speed = 2;
        u.heat = 26;
        u.room = 23;
        u.lowCool = 16, u.highCool = 30, u.lowHeat = 17, u.highHeat = 29, u.lowAuto = 18, u.highAuto = 28;
        u.modes = {0, 1, 3};
        auto item = card(panelUnit(channel));
        // Each reply moves the chain on at once: with every tick 1000 s away, the
        // whole chain can only come from the replies.
        DeviceItem::setIntervalScale(1000.0);
        item->getStatus(0);
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 2000);
        DeviceItem::setIntervalScale(1.0);
        QCOMPARE(m_bus.sentText(), queries);
        QList<int> sizes;
        for (const SimFrame &f : m_bus.sent())
            sizes.append(f.raw.size());
        QCOMPARE(sizes, querySizes);
        QCOMPARE(m_replySizes, replySizes);

        const airConditioner rec = item->getAirConditioner();
        QCOMPARE(rec.mode_flag[0], 1);
        QCOMPARE(rec.mode_flag[2], 0);
        QCOMPARE(rec.mode_flag[3], 1);
        QCOMPARE(column(0, QStringLiteral("version")).toString(), QStringLiteral("HDL-AC 1.5"));
        QCOMPARE(column(0, QStringLiteral("low_limit")).toString(), QStringLiteral("16-17-18"));
        QCOMPARE(column(0, QStringLiteral("high_limit")).toString(), QStringLiteral("30-29-28"));
        QCOMPARE(column(0, QStringLiteral("mode")).toInt(), 1);
        QCOMPARE(column(0, QStringLiteral("speed")).toInt(), 2);
        QCOMPARE(column(0, QStringLiteral("current_heat_temperature")).toInt(), 26);
        QCOMPARE(item->setPointText(), "26" + Celsius);
        QCOMPARE(item->setPointSlider()->slider()->minimum(), 17);
        QCOMPARE(item->setPointSlider()->slider()->maximum(), 29);
        QCOMPARE(logRows(), QStringList{"0|ac_Lounge AC|room temperature is 23" + Celsius +
                                        ",heat mode,setting temperature is 26" + Celsius + ",medium speed"});
    }

    void unitOneTakesTheChannelFormToo()
    {
        m_panel->setPlainParametersInChannelForm(true);
        m_panel->unit(1).status = 1;
        auto item = card(panelUnit(1));
        item->getStatus(0);
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 2000);
        QCOMPARE(m_replySizes.last(), 39);
        QCOMPARE(column(0, QStringLiteral("status")).toInt(), 1);
    }

    void repliesForAnotherUnitAreNotTaken()
    {
        DeviceItem::setIntervalScale(0.05);
        // The panel answers unit 3's parameters query as if for unit 2.
        QByteArray params = bytes({0xF8, 1, 1, 24, 0x12, 1, 21, 26, 0, 23, 25, 0});
        m_panel->setAnswer(SimAcPanel::GetParameters, SimAnswer::reply(SimAcPanel::Parameters, params));
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
        auto item = card(panelUnit(3));
        item->getStatus(0);
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 3000);
        // The tick after the tenth frame says so; then nothing more comes.
        QTRY_COMPARE_WITH_TIMEOUT(info.count(), 1, 3000);
        SimBus::pump(200); // the tick after the tenth frame sends the message
        QCOMPARE(info.count(), 1);
        QCOMPARE(info.at(0).at(0).toString(), QStringLiteral("Lounge AC lost connection"));
        const QStringList asked = m_bus.sentText(0xE0EC);
        // Asked at once when the ranges came, then at every tick until the tries ran out (a
        // ranges reply that came twice, on a busy machine, starts them again); every time for
        // unit 3, and never again once given up.
        QVERIFY2(asked.size() >= 11, qPrintable(QString::number(asked.size())));
        QCOMPARE(asked.count(QStringLiteral("e0ec:40:02")), asked.size());
        SimBus::pump(200);
        QCOMPARE(m_bus.sentText(0xE0EC), asked);
        QCOMPARE(column(0, QStringLiteral("status")).toInt(), 0);
        QVERIFY(logRows().isEmpty());
    }

    void silentPanelReportsOnce()
    {
        DeviceItem::setIntervalScale(0.05);
        m_panel->setDefaultAnswer(SimAnswer::silent());
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
        auto item = card(panelUnit(1));
        item->getStatus(0);
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 3000);
        // The tick after the tenth frame says so; then nothing more comes.
        QTRY_COMPARE_WITH_TIMEOUT(info.count(), 1, 3000);
        SimBus::pump(200);
        QCOMPARE(m_bus.sentText(), QVector<QString>(10, QStringLiteral("effd:40:")).toList());
        QCOMPARE(info.count(), 1);
        QCOMPARE(info.at(0).at(0).toString(), QStringLiteral("Lounge AC lost connection"));
    }

    void setPointIsSentASecondAfterTheLastMove()
    {
        Unit u = panelUnit(1);
        u.status = 1;
        u.mode = 0;
        u.speed = 3;
        u.cool = 24;
        u.heat = 21;
        u.autoPoint = 22;
        u.dry = 25;
        u.low = QStringLiteral("16-16-16");
        u.high = QStringLiteral("30-30-30");
        auto item = card(u);
        // The pause three times as long (3000 ms), so that the movements, 200 ms
        // apart, cannot be overtaken by it even on a busy machine.
        DeviceItem::setIntervalScale(3.0);
        qint64 last = 0;
        for (int value : {25, 26, 27}) {
            last = m_bus.now();
            item->setPointSlider()->slider()->setValue(value);
            SimBus::pump(200);
        }
        QCOMPARE(item->setPointText(), "27" + Celsius);
        QVERIFY(m_bus.sent().isEmpty());
        QVERIFY(m_bus.waitForCode(0xE0EE, 1, 8000));
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 3000);
        SimBus::pump(100);
        // Status, cool, mode x 16 + speed, 1, heat, auto, dry, 0.
        QCOMPARE(m_bus.sentText(0xE0EE), QStringList{"e0ee:40:011b03011516190"
                                                     "0"});
        // Each movement starts the wait anew: sent a full pause after the last one
        // (a coarse timer may come a little early; the clock was read just before
        // the movement, so a busy machine only adds to the difference).
        const qint64 delay = m_bus.timesOf(0xE0EE).first() - last;
        QVERIFY2(delay >= 2700, qPrintable(QString::number(delay)));
        QCOMPARE(m_replySizes.last(), 38);
        QCOMPARE(m_panel->unit(1).cool, 27);
        QCOMPARE(column(0, QStringLiteral("current_cool_temperature")).toInt(), 27);
        QCOMPARE(logRows().size(), 1);
        QVERIFY(logRows().first().contains(",cool mode,setting temperature is 27" + Celsius + ",low speed"));
    }

    // The panel's answer to an older set point is not taken (see answerSetPointLate).
    void lateSetPointAnswerIsNotTaken_data() { lateAnswerRows(); }
    void lateSetPointAnswerIsNotTaken()
    {
        Unit u = panelUnit(1);
        u.status = 1;
        auto item = card(u);
        QVERIFY(answerSetPointLate(m_panel, SimAcPanel::SetParameters, item.get(), 25));
        QCOMPARE((QList<int>{m_panel->unit(1).cool, item->getAirConditioner().current_cool_temperature,
                             column(0, QStringLiteral("current_cool_temperature")).toInt()}),
                 (QList<int>{28, 28, 28}));
    }

    void setCommandIsResentUntilConfirmed()
    {
        DeviceItem::setIntervalScale(0.1);
        m_panel->setAnswer(SimAcPanel::SetParameters, SimAnswer::silent().once());
        Unit u = panelUnit(2);
        auto item = card(u);
        QVERIFY(QTest::qWaitForWindowExposed(item.get()));
        // The card's own ticks are the row's to give.
        DeviceItem::setIntervalScale(100.0);
        QTest::mouseClick(item->powerButton(), Qt::LeftButton);
        // Sent during the press: it is there before the program has had a turn of its loop.
        QVERIFY(m_bus.sim->takeArrived(5000, 0xE0EE, 1));
        // Unanswered, it is resent on each tick of the retry timer, a second apart, until
        // confirmed, and then no more.
        QTimer *retry = sendTimerOf(item.get());
        QVERIFY(retry->isActive());
        QCOMPARE(retry->interval(), 100 * 1000);
        QVERIFY(QMetaObject::invokeMethod(retry, "timeout"));
        QVERIFY(m_bus.sim->takeArrived(5000, 0xE0EE, 2));
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 5000);
        QVERIFY(QMetaObject::invokeMethod(retry, "timeout"));
        m_bus.sim->takeArrived(20);
        const QString command = QStringLiteral("e0ee:40:010118000116171900");
        QCOMPARE(m_bus.sentText(0xE0EE), QStringList({command, command}));
        QCOMPARE(m_panel->unit(2).status, 1);
        QCOMPARE(column(0, QStringLiteral("status")).toInt(), 1);
    }

    void irSequences_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("setPoint");
        QTest::addColumn<QList<int>>("switches");
        QTest::newRow("Patch B on, heat, medium, 24")
            << 2 << 0 << 1 << 2 << 24 << QList<int>{111, 132, 134, 144};
        QTest::newRow("Patch A on, fan") << 1 << 0 << 2 << 1 << 24 << QList<int>{11, 31};
        QTest::newRow("Patch A on, cool, auto, 22") << 1 << 0 << 0 << 0 << 22 << QList<int>{11, 12, 16, 22};
        QTest::newRow("Patch B on, auto, low, 25")
            << 2 << 0 << 3 << 3 << 25 << QList<int>{111, 152, 153, 165};
        QTest::newRow("Patch A off") << 1 << 1 << 1 << 2 << 24 << QList<int>{10};
        QTest::newRow("Patch B off") << 2 << 1 << 0 << 0 << 24 << QList<int>{110};
    }

    void irSequences()
    {
        QFETCH(int, port);
        QFETCH(int, status);
        QFETCH(int, mode);
        QFETCH(int, speed);
        QFETCH(int, setPoint);
        QFETCH(QList<int>, switches);
        auto item = card(irUnit(port, status, mode, speed, setPoint));
        QVERIFY(QTest::qWaitForWindowExposed(item.get()));
        settle();
        const qint64 pressed = m_bus.now();
        QTest::mouseClick(item->powerButton(), Qt::LeftButton);
        // Stored and logged at once, while the frames still go out.
        QCOMPARE(column(0, QStringLiteral("status")).toInt(), status ? 0 : 1);
        QCOMPARE(item->pendingIrFrames(), switches.size() - 1);
        QCOMPARE(logRows().size(), 1);

        QVERIFY(m_bus.waitForCode(0xE01C, switches.size(), 1000));
        DeviceItem::setIntervalScale(0.1); // a resend would come within 100 ms
        SimBus::pump(300);                 // never resent, never confirmed
        QCOMPARE(m_ir->switchNumbers(), switches);
        for (const SimFrame &f : m_bus.sent(0xE01C)) {
            QCOMPARE(f.payload.size(), 2);
            QCOMPARE(quint8(f.payload.at(1)), quint8(0xFF));
            QCOMPARE(f.targetDevice, quint8(45));
        }
        // The first frame leaves during the press, the others from the event loop,
        // each 50 ms at least after the one before: frame i cannot leave, nor be
        // seen, before i times 50 ms after the press. (Gaps between arrivals say
        // nothing: a busy loop may see two frames at once.)
        const QList<qint64> times = m_bus.timesOf(0xE01C);
        for (int i = 1; i < times.size(); ++i)
            QVERIFY2(times[i] - pressed >= 50 * i, qPrintable(QString::number(times[i] - pressed)));
        QCOMPARE(m_bus.sent().size(), switches.size());
    }

    void irModeChangeSendsModeAndSetPoint()
    {
        auto item = card(irUnit(1, 1, 0, 0, 22));
        QVERIFY(QTest::qWaitForWindowExposed(item.get()));
        settle();
        pressInChooser(QStringLiteral("Heat"));
        QTest::mouseClick(item->modeTile(), Qt::LeftButton, {}, QPoint(40, 40));
        QVERIFY(m_bus.waitForCode(0xE01C, 2, 2000));
        SimBus::pump(100);
        QCOMPARE(m_ir->switchNumbers(), (QList<int>{32, 42}));
        QCOMPARE(column(0, QStringLiteral("mode")).toInt(), 1);
        QCOMPARE(item->modeTile()->getValue(), 1);

        // Choosing the mode shown sends nothing.
        settle();
        pressInChooser(QStringLiteral("Heat"));
        QTest::mouseClick(item->modeTile(), Qt::LeftButton, {}, QPoint(40, 40));
        SimBus::pump(300);
        QVERIFY(m_bus.sent().isEmpty());

        // A new fan speed: one frame.
        pressInChooser(QStringLiteral("High"));
        QTest::mouseClick(item->speedTile(), Qt::LeftButton, {}, QPoint(40, 40));
        QVERIFY(m_bus.waitForCode(0xE01C, 1, 2000));
        QCOMPARE(m_bus.sentText(), QStringList{"e01c:45:23ff"});
        QCOMPARE(column(0, QStringLiteral("speed")).toInt(), 1);
    }

    void irSetPointGoesOutAtOnce()
    {
        auto item = card(irUnit(2, 1, 3, 0, 22));
        settle();
        // Sent during the move: it is there before the program has had a turn of its loop.
        item->setPointSlider()->slider()->setValue(25);
        QVERIFY(m_bus.sim->takeArrived(5000, 0xE01C, 1));
        QCOMPARE(m_ir->switchNumbers(), QList<int>{165});
        QCOMPARE(column(0, QStringLiteral("current_auto_temperature")).toInt(), 25);
        QVERIFY(logRows().last().contains(",auto mode,setting temperature is 25" + Celsius));
    }

    void irRoomTemperature_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("unitText");
        QTest::newRow("Celsius") << 0 << -5 << Celsius;
        QTest::newRow("Fahrenheit") << 1 << 23 << Fahrenheit;
    }

    void irRoomTemperature()
    {
        QFETCH(int, unit);
        QFETCH(int, shown);
        QFETCH(QString, unitText);
        m_ir->setTemperatureUnit(unit);
        m_ir->setRoomTemperature(-5);
        auto item = card(irUnit(1, 1, 0, 0, 22));
        item->getStatus(0);
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 2000);
        QCOMPARE(m_bus.sentText(), (QStringList{"effd:45:", "e120:45:", "e3e7:45:00"}));
        QCOMPARE(item->roomTemperatureText(), QStringLiteral("Room %1%2").arg(shown).arg(unitText));
        QCOMPARE(column(0, QStringLiteral("room_temperature")).toInt(), shown);
        QCOMPARE(column(0, QStringLiteral("temperature_unit")).toInt(), unit);
    }

    void deletingTheCardEndsItsSequence()
    {
        auto item = card(irUnit(2, 0, 1, 2, 24));
        QVERIFY(QTest::qWaitForWindowExposed(item.get()));
        settle();
        QTest::mouseClick(item->powerButton(), Qt::LeftButton);
        item.reset();
        SimBus::pump(300);
        QCOMPARE(m_ir->switchNumbers(), QList<int>{111});
    }
};

VARNO_TEST_MAIN(TestAcCycle)
#include "tst_accycle.moc"
