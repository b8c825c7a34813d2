// The intake of panel messages and the login frames, against the simulated
// devices on 127.0.0.2:6000 ("DNS Server" style), with a test clock.

#include "testmain.h"

#include "../records/recordpages.h"
#include "bus/broadcastsocket.h"
#include "shell/loginframes.h"
#include "shell/lossnotice.h"
#include "shell/panelmessageintake.h"
#include "simbus.h"
#include "simpanel.h"
#include "stepfault.h"
#include "store/cppsqlite3db.h"
#include "store/databaseinit.h"
#include "store/devicelog.h"
#include "store/exitbound.h"
#include "store/globals.h"
#include "store/keystore.h"
#include "store/queryhelpers.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

namespace {

const QHostAddress SimAddress(QStringLiteral("127.0.0.2"));
const qint64 kMorning = QDateTime(QDate(2026, 12, 7), QTime(9, 0, 0)).toSecsSinceEpoch();

// A universal-switch frame from panel subnet/device to the application.
QByteArray switchFrame(quint8 subnet, quint8 device, quint8 switchNo, quint8 state, int payloadBytes = 2)
{
    QByteArray payload;
    payload.append(char(switchNo));
    payload.append(char(state));
    payload = payload.left(payloadBytes);
    return SimFrame::build(QByteArray::fromHex("7f000002"), subnet, device, 0x0001, 0xE01C, 255, 255,
                           payload);
}

QStringList rows()
{
    QStringList out;
    QSqlQuery q = gl_sqlite3db.execQuery(QStringLiteral("select * from tbl_message_log order by id"));
    while (q.next()) {
        out << QStringLiteral("%1:%2:%3:%4")
                   .arg(q.value(QStringLiteral("message_id")).toInt())
                   .arg(q.value(QStringLiteral("panel_id")).toInt())
                   .arg(q.value(QStringLiteral("message_status")).toInt())
                   .arg(q.value(QStringLiteral("recv_time")).toString().mid(11));
    }
    return out;
}

int rowsOf(int panel)
{
    return getValueFromDb(
        QStringLiteral("select count(*) as n from tbl_message_log where panel_id=%1").arg(panel), "n");
}

} // namespace

class TestIntake : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_db = 0;
    qint64 m_now = kMorning;
    PanelMessageIntake *m_intake = nullptr;

    void at(qint64 secondsAfterMorning) { m_now = kMorning + secondsAfterMorning; }
    void on(quint8 panelDevice, quint8 sw) { m_intake->processUniversalSwitch(1, panelDevice, sw, 1); }
    void off(quint8 panelDevice, quint8 sw) { m_intake->processUniversalSwitch(1, panelDevice, sw, 0); }
    void tick() { m_intake->slotsUniversalSwitch(); }

private slots:
    void init()
    {
        initDatabase(m_dir.filePath(QStringLiteral("p%1.db3").arg(++m_db)));
        for (const char *sql :
             {"insert into tbl_panel(panel_id,panel_remark,subnet_id,device_id,room_id) "
              "values(1,'P1',1,20,7)",
              "insert into tbl_panel(panel_id,panel_remark,subnet_id,device_id,room_id) "
              "values(2,'P2',1,21,8)",
              "insert into tbl_message(message_id,message_type,message_remark,universal_switch_no) "
              "values(11,0,'Clean room',5)",
              "insert into tbl_message(message_id,message_type,message_remark,universal_switch_no) "
              "values(12,1,'Fire',9)"})
            QVERIFY(gl_sqlite3db.execDML(QLatin1String(sql)));
        m_now = kMorning;
        m_intake = new PanelMessageIntake(this);
        m_intake->setClock([this]() { return m_now; });
    }
    void cleanup()
    {
        delete m_intake;
        m_intake = nullptr;
    }
    void initTestCase() { LossNotice::setInterval(0); }
    void cleanupTestCase() { gl_sqlite3db.close(); }

    void serviceSettlesAfterTwentySeconds()
    {
        QSignalSpy announced(&gl_socket, &BroadcastSocket::signalsAppendMessage);
        on(20, 5);
        at(5);
        on(20, 5); // a repeat keeps the first receive time
        at(19);
        tick();
        QVERIFY(rows().isEmpty());
        at(20);
        tick();
        QCOMPARE(rows(), QStringList{"11:1:0:09:00:00"});
        QCOMPARE(announced.count(), 1);
        const auto msg = announced.at(0).at(0).value<universalSwitchMessage>();
        QCOMPARE(msg.room_id, 7);
        QCOMPARE(msg.message_status, 0);
        QVERIFY(msg.id > 0);
        QVERIFY(m_intake->pending().isEmpty());
    }

    void onOffWithinTwentySecondsStoresNothing()
    {
        on(20, 5);
        at(10);
        off(20, 5);
        at(29);
        tick();
        QVERIFY(rows().isEmpty());
        at(30);
        tick(); // settles "off", and with no row of the day nothing is stored
        QVERIFY(rows().isEmpty());
        QVERIFY(m_intake->pending().isEmpty());
    }

    void dayRowIsReusedUntilHandled()
    {
        on(20, 5);
        at(20);
        tick();
        at(100);
        off(20, 5);
        at(120);
        tick();
        QCOMPARE(rows(), QStringList{"11:1:1:09:01:40"});
        at(200);
        on(20, 5);
        at(220);
        tick();
        QCOMPARE(rows(), QStringList{"11:1:0:09:03:20"});

        // Once the operator has taken the row on, a new switch-on makes a new row.
        gl_sqlite3db.execDML(QStringLiteral("update tbl_message_log set message_status=3"));
        at(300);
        off(20, 5);
        at(320);
        tick();
        at(400);
        on(20, 5);
        at(420);
        tick();
        QCOMPARE(rows(), (QStringList{"11:1:3:09:03:20", "11:1:0:09:06:40"}));
        // Only the day's first row is looked at: a later off changes nothing.
        at(500);
        off(20, 5);
        at(520);
        tick();
        QCOMPARE(rows().size(), 2);
    }

    void nextDayStartsNewRow()
    {
        on(20, 5);
        at(20);
        tick();
        at(86400);
        off(20, 5);
        at(86410);
        on(20, 5);
        at(86430);
        tick();
        QCOMPARE(rows().size(), 2);
    }

    void alarmsStoredAtOnceWithOwnIds()
    {
        QSignalSpy announced(&gl_socket, &BroadcastSocket::signalsAppendMessage);
        on(20, 9);
        off(20, 9);
        on(20, 9);
        QCOMPARE(rows(), (QStringList{"12:1:0:09:00:00", "12:1:0:09:00:00", "12:1:0:09:00:00"}));
        QCOMPARE(announced.count(), 3);
        QSet<int> ids;
        for (const QList<QVariant> &args : announced)
            ids.insert(args.at(0).value<universalSwitchMessage>().id);
        QCOMPARE(ids.size(), 3);
        QVERIFY(!ids.contains(0));
        QVERIFY(m_intake->pending().isEmpty());
    }

    void panelsPendIndependently()
    {
        on(20, 5);
        at(10);
        on(21, 5);
        QCOMPARE(m_intake->pending().size(), 2);
        at(20);
        tick();
        QCOMPARE(rows(), QStringList{"11:1:0:09:00:00"});
        at(30);
        tick();
        QCOMPARE(rows().size(), 2);
    }

    void unknownPanelOrSwitchIsDropped()
    {
        m_intake->processUniversalSwitch(1, 99, 5, 1);
        m_intake->processUniversalSwitch(1, 20, 77, 1);
        QVERIFY(m_intake->pending().isEmpty());
        at(60);
        tick();
        QVERIFY(rows().isEmpty());
    }

    void framesAreAnswered()
    {
        if (qEnvironmentVariable("VARNO_NETNS") != QLatin1String("1"))
            QSKIP("needs the private network namespace of ./test");
        SimBus sim;
        QVERIFY2(sim.listenUdp(SimAddress, 6000), qPrintable(sim.errorString()));
        SimPanel *known = sim.add<SimPanel>(quint8(1), quint8(20));
        SimPanel *unknown = sim.add<SimPanel>(quint8(1), quint8(99));
        gl_socket.setId(1, 254);
        gl_net_style = NetStyleDnsServer;
        gl_domain_name = SimAddress.toString();
        gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
        QVERIFY(gl_socket.createSocket());
        // The frames reach the intake the way the main window hands them on.
        auto c = connect(&gl_socket, &BroadcastSocket::dataIsComming, m_intake,
                         [this](quint8 *buffer, qlonglong length) { m_intake->takeFrame(buffer, length); });
        const QHostAddress app(QStringLiteral("127.0.0.1"));

        struct Case
        {
            SimPanel *panel;
            quint8 switchNo;
            bool on;
            QByteArray answer;
        };
        const QList<Case> cases = {
            {known, 5, true, QByteArray::fromHex("0501")},
            {unknown, 5, true, QByteArray::fromHex("0501")}, // an unknown panel is answered too
            {known, 9, false, QByteArray::fromHex("0900")},
        };
        for (const Case &c : cases) {
            sim.clear();
            sim.sendRaw(c.panel->switchFrame(c.switchNo, c.on), app, 6000);
            QVERIFY(sim.waitForFrames(1));
            const QList<SimFrame> answers = sim.framesWithCode(0xE01D);
            QCOMPARE(answers.size(), 1);
            const SimFrame &a = answers.first();
            QVERIFY(a.valid);
            QCOMPARE(int(a.length), 13);
            QCOMPARE(int(a.raw.size()), 29);
            QCOMPARE(int(a.sourceSubnet), 1);
            QCOMPARE(int(a.sourceDevice), 254);
            QCOMPARE(int(a.targetSubnet), 255);
            QCOMPARE(int(a.targetDevice), 255);
            QCOMPARE(a.payload, c.answer);
        }
        QCOMPARE(known->answers().size(), 3); // every panel hears every answer to 255/255

        // A frame whose payload holds no switch state is not answered.
        sim.clear();
        QByteArray shortFrame = switchFrame(1, 20, 5, 1, 1);
        sim.sendRaw(shortFrame, app, 6000);
        SimBus::pump(200);
        QCOMPARE(sim.framesWithCode(0xE01D).size(), 0);
        QVERIFY(m_intake->takeFrame(reinterpret_cast<const quint8 *>(shortFrame.constData()),
                                    shortFrame.size()));

        // The alarm was stored, the service switch waits.
        QCOMPARE(rows().size(), 1);
        QCOMPARE(m_intake->pending().size(), 1);

        QByteArray bad = switchFrame(1, 20, 5, 1);
        bad[bad.size() - 1] = char(bad.at(bad.size() - 1) ^ 0x55);
        QVERIFY(!m_intake->takeFrame(reinterpret_cast<const quint8 *>(bad.constData()), bad.size()));

        // A thousand pairs whose look-up fails at every step (panels 1/101 to 1/212, nine switches
        // each), sent in bursts the socket's buffer holds, then the healthy panel 2/20: every frame
        // is answered and the healthy alarm stored; each pair is tried once on arrival (no frame sets
        // off the others' retries), again a second later, and then waits twice as long.
        QVERIFY(gl_sqlite3db.execDML("insert into tbl_panel(panel_id,panel_remark,subnet_id,device_id,"
                                     "room_id) values(3,'P3',2,20,9)"));
        sim.clear();
        StepFault::arm(QStringLiteral("subnet_id=1 and device_id="), -1);
        auto disarm = qScopeGuard([] { StepFault::disarm(); });
        for (int i = 0; i <= 1000; ++i) {
            sim.sendRaw(i < 1000 ? switchFrame(1, quint8(101 + i / 9), quint8(1 + i % 9), 1)
                                 : switchFrame(2, 20, 9, 1), app, 6000);
            if (i % 100 == 99 || i == 1000)
                QTRY_COMPARE(sim.framesWithCode(0xE01D).size(), i + 1);
        }
        QVERIFY(StepFault::steps() == 1000 && rowsOf(3) == 1 && m_intake->waiting() == 1000);
        at(1);
        tick();
        QTRY_COMPARE(StepFault::steps(), 2000);
        QCOMPARE(m_intake->nextTry(), kMorning + 3);

        // Their next try behind 4,000 alarms that other work held back, in an event loop: storing hands it
        // back each turn, so alarms sent meanwhile are answered before the backlog is through; then 4 s.
        QVERIFY(gl_sqlite3db.beginTransaction());
        for (int i = 0; i < 4000; ++i)
            m_intake->processUniversalSwitch(2, 20, 9, 1);
        gl_sqlite3db.rollbackTransaction();
        at(3);
        QEventLoop loop;
        QTimer poll;
        int sent = 0, answeredAt = -1; // how many of the backlog were stored once the answers were in
        connect(&poll, &QTimer::timeout, &loop, [&] {
            for (; sent < 3 && rowsOf(3) > 1; ++sent)
                sim.sendRaw(switchFrame(2, 20, 9, 1), app, 6000);
            if (answeredAt < 0 && sim.framesWithCode(0xE01D).size() == 1001 + 3)
                answeredAt = rowsOf(3) - 1;
            if (answeredAt >= 0 && StepFault::steps() == 3000 && m_intake->unstored() == 1000)
                loop.quit();
        });
        poll.start(1);
        QTimer::singleShot(0, &loop, [this] { tick(); });
        QTimer::singleShot(60000, &loop, &QEventLoop::quit); // only when something is amiss
        loop.exec();
        QVERIFY2(answeredAt >= 0 && answeredAt < 4000, qPrintable(QString::number(answeredAt)));
        QVERIFY(rowsOf(3) == 4004 && StepFault::steps() == 3000 && m_intake->nextTry() == kMorning + 7);
        disconnect(c);
        gl_socket.closeSocket();
    }

    // Alarms kept behind other work are stored as the project is about to be left. They are shown
    // only should the project stay (a switch that failed): one that goes through empties the bar.
    void storedBeforeLeavingShownOnlyWhenStaying_data()
    {
        QTest::addColumn<bool>("switched");
        QTest::newRow("the project switched") << true;
        QTest::newRow("the switch failed") << false;
    }
    void storedBeforeLeavingShownOnlyWhenStaying()
    {
        QFETCH(bool, switched);
        QSignalSpy announced(&gl_socket, &BroadcastSocket::signalsAppendMessage);
        QVERIFY(gl_sqlite3db.beginTransaction()); // other work holds them back
        for (int i = 0; i < 1500; ++i)
            on(quint8(20 + i % 2), 9);
        gl_sqlite3db.rollbackTransaction();
        emit gl_socket.signalsProjectLeaving();
        QCOMPARE(rowsOf(1) + rowsOf(2), 1500);
        QCOMPARE(announced.count(), 0);
        if (switched)
            emit gl_socket.signalsProjectStateChanged(QStringLiteral("Other"));
        bool turned = false; // behind the intake's own turn, started before
        QTimer::singleShot(0, this, [&turned] { turned = true; });
        QTRY_VERIFY(turned);
        QCOMPARE(announced.count(), switched ? 0 : 1500);
    }

    // A failing look-up that also ends the transaction a healthy message was stored in;
    // the limit reached while another transaction is open.
    void keptMessages_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QList<int>>("rows"); // stored at the end for panels 1 and 2
        QTest::addColumn<int>("kept");
        QTest::addColumn<QString>("said");
        QTest::newRow("a failing write that ends the transaction")
            << "rollback" << QList<int>{0, 1} << 0 << "1 panel message(s) could not be stored!";
        QTest::newRow("the limit, inside another transaction")
            << "limit" << QList<int>{0, 10} << 1000 << "50 panel message(s) could not be stored!";
        QTest::newRow("a failed commit") << "commit" << QList<int>{0, 60} << 0 << "";
    }
    void keptMessages()
    {
        QFETCH(QString, scenario);
        QSignalSpy information(&gl_socket, &BroadcastSocket::signalsInformation);
        auto disarm = qScopeGuard([] {
            StepFault::disarm();
            StepFault::setEndsTransaction(false);
        });
        if (scenario == "rollback") {
            StepFault::arm(QStringLiteral("insert into tbl_message_log"), -1);
            on(21, 9); // panel 2's insert fails: kept, tried again first
            StepFault::arm(QStringLiteral("subnet_id=1 and device_id=20"), -1);
            StepFault::setEndsTransaction(true);
            on(20, 9); // panel 1's look-up fails, and ends the transaction it ran in
            at(1);
            tick(); // panel 2 stored, then panel 1's failure takes it along: stored again anew
            QCOMPARE(m_intake->unstored(), 1);
            at(PanelMessageIntake::RetrySeconds);
            tick();
        } else if (scenario == "commit") {
            QVERIFY(gl_sqlite3db.beginTransaction()); // other work holds back panel 2's alarms
            for (int i = 0; i < 60; at(++i))
                on(21, 9);
            gl_sqlite3db.rollbackTransaction();
            StepFault::arm(QStringLiteral("COMMIT"), 1);
            tick(); // the first 50 go back ahead of the 10 behind them, and wait a second
            QVERIFY(StepFault::fired() && rowsOf(2) == 0 && m_intake->waiting() == 60);
            at(61);
            tick();
        } else {
            StepFault::arm(QStringLiteral("subnet_id=1 and device_id=20"), -1);
            on(20, 9);
            QVERIFY(gl_sqlite3db.beginTransaction()); // other work under way: nothing is stored in it
            for (int i = 0; i < 10; ++i)
                on(21, 9);
            for (int i = 1; i < PanelMessageIntake::MaxUnstored + 50; ++i)
                on(20, 9);
            gl_sqlite3db.rollbackTransaction();
            tick(); // the healthy panel's alarms, held back only by the other work
        }
        const QStringList stored = rows(); // each panel's in the order they came
        QVERIFY2(std::is_sorted(stored.cbegin(), stored.cend()), qPrintable(stored.join(' ')));
        QFETCH(QList<int>, rows);
        QCOMPARE((QList<int>{rowsOf(1), rowsOf(2)}), rows);
        QTEST(m_intake->unstored(), "kept");
        QTEST(m_intake->waiting(), "kept");
        QFETCH(QString, said);
        QTRY_COMPARE(recordpages::infos(information).join('|'), said); // once the turn is over, as one
        QCOMPARE(LossNotice::unsaid(), 0);
    }

    // The program ends with alarms answered and kept: they are stored while the storing succeeds,
    // however slowly (each reading of the exit's clock step ms on, each commit commitMs, as on an SD
    // card's syncs), and nothing is announced. A database locked elsewhere ends the storing once its
    // tries have failed a while, before the cap, with all that is left counted once in the log, also
    // what has had its 600 s of tries; a lock let go meanwhile leaves nothing behind. The cap ends
    // what lasts too long. Tries that fail at once (a full disk) pause between them: on the exit's
    // clock, here the real one, no more tries than pauses fit in the time it took.
    void storedAtExit_data()
    {
        QTest::addColumn<int>("alarms");
        QTest::addColumn<int>("step"); // 0: the real clock, the disk failing at once
        QTest::addColumn<int>("commitMs");
        QTest::addColumn<int>("lockedMs"); // of the exit's clock; -1 throughout
        QTest::addColumn<int>("stored");   // -1: some, till the cap
        QTest::addColumn<bool>("waited");  // the alarms have waited their 600 s of tries
        QTest::addColumn<bool>("reader");  // the lock a reader's, with device writes gathered and kept
        QTest::newRow("10,000 on a slow machine") << 10000 << 20 << 0 << 0 << 10000 << false << false;
        QTest::newRow("10,000, each commit 80 ms") << 10000 << 1 << 80 << 0 << 10000 << false << false;
        QTest::newRow("succeeding past the cap") << 10000 << 900 << 0 << 0 << -1 << false << false;
        QTest::newRow("locked throughout") << 3000 << 20 << 0 << -1 << 0 << false << false;
        QTest::newRow("locked throughout, tried for 600 s") << 3000 << 20 << 0 << -1 << 0 << true << false;
        QTest::newRow("locked for a while") << 3000 << 20 << 0 << 500 << 3000 << false << false;
        QTest::newRow("device writes, a reader for 0.9 s") << 0 << 20 << 0 << 900 << 0 << false << true;
        QTest::newRow("failing at once") << 1 << 0 << 0 << 0 << 0 << false << false;
    }
    void storedAtExit()
    {
        QFETCH(int, alarms);
        QFETCH(int, step);
        QFETCH(int, commitMs);
        QFETCH(int, lockedMs);
        QFETCH(int, stored);
        QFETCH(bool, waited);
        QFETCH(bool, reader);
        QSignalSpy announced(&gl_socket, &BroadcastSocket::signalsAppendMessage);
        m_intake->beginExit();
        for (int i = 0; i < alarms; ++i) // as the closing link hands them on
            m_intake->processUniversalSwitch(1, quint8(20 + i % 2), 9, 1);
        m_intake->slotsUniversalSwitch(); // the message timer meanwhile: the exit stores them
        QCOMPARE(rowsOf(1) + rowsOf(2), 0);
        if (reader) { // a device's write kept from failed tries for a minute, and one gathered since
            constexpr int Never = 2000000000; // the kept writes' ticks come from the row alone
            setKeptWriteRetryInterval(Never);
            const auto every = qScopeGuard([] { setKeptWriteRetryInterval(1000); });
            StepFault::arm(QStringLiteral("panel_id=2"), -1);
            const auto disarm = qScopeGuard([] { StepFault::disarm(); });
            storeDeviceState("update tbl_panel set panel_remark='kept' where panel_id=2");
            QTimer *ticks = nullptr;
            for (QTimer *timer : qApp->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly))
                ticks = timer->interval() == Never ? timer : ticks;
            QVERIFY(ticks);
            for (int tick = 1; tick <= 60; ++tick) // tried at 1, 3, 7, 15 and 31; the next try at 61
                QVERIFY(QMetaObject::invokeMethod(ticks, "timeout"));
            QCOMPARE(StepFault::steps(), 6);
            StepFault::disarm();
            QVERIFY(gl_sqlite3db.execBound("update tbl_panel set panel_remark=? where panel_id=1", {"gathered"}));
            QCOMPARE(gl_sqlite3db.pendingWriteCount(), 1);
        }
        const auto forget = qScopeGuard([] { QSqlDatabase::removeDatabase(QStringLiteral("other")); });
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(gl_sqlite3db.getDbName());
        QSqlQuery hold(other);
        QVERIFY(other.open() && (!lockedMs || hold.exec(reader ? "begin" : "begin exclusive")) &&
                (!reader || (hold.exec("select count(*) from tbl_panel") && hold.next())));
        std::pair<qint64, int> clock{0, commitMs}; // the exit's clock, on by each commit's time
        sqlite3_commit_hook(gl_sqlite3db.handle(), [](void *c) {
            static_cast<std::pair<qint64, int> *>(c)->first += static_cast<std::pair<qint64, int> *>(c)->second;
            return 0;
        }, &clock);
        const auto unhook = qScopeGuard([] { sqlite3_commit_hook(gl_sqlite3db.handle(), nullptr, nullptr); });
        QElapsedTimer real; // a storing that hangs ends at the cap, and the row fails at its own check
        real.start();
        ExitBound bound([&] {
            if (lockedMs > 0 && clock.first >= lockedMs) {
                hold.finish();
                other.rollback();
            }
            if (!step)
                return clock.first = real.elapsed();
            return real.hasExpired(60000) ? clock.first = ExitBound::CapMs : clock.first += step;
        });
        if (!step)
            StepFault::arm(QStringLiteral("insert into tbl_message_log"), -1);
        const auto disarm = qScopeGuard([] { StepFault::disarm(); });
        gl_sqlite3db.setBusyTimeout(10);
        at(waited ? PanelMessageIntake::RetrySeconds : 0);
        const QString left = stored < 0 ? QStringLiteral("\\d+") : QString::number(alarms - stored);
        if (stored != alarms) // what is left, all of it, said once
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("left at the exit: %1$").arg(left)));
        m_intake->storeBeforeExit(bound);
        if (!step) {
            const int tries = StepFault::steps();
            StepFault::disarm();
            QVERIFY2(tries >= 1 && tries <= 1 + clock.first / qint64(ExitBound::PauseMs),
                     qPrintable(QStringLiteral("%1 tries in %2 ms").arg(tries).arg(clock.first)));
        }
        QVERIFY(storeDeviceWritesBeforeExit(bound) || !reader);
        QVERIFY2(lockedMs >= 0 || clock.first < ExitBound::CapMs, "a lasting failure waited for the cap");
        QVERIFY2(stored >= 0 || clock.first >= ExitBound::CapMs, "ended before the cap");
        hold.finish();
        other.rollback();
        const int rows = rowsOf(1) + rowsOf(2);
        QVERIFY2(stored < 0 ? rows > 0 && rows < alarms : rows == stored, qPrintable(QString::number(rows)));
        QCOMPARE(m_intake->unstored(), alarms - rows);
        QCOMPARE(announced.count(), 0);
        QString remarks;
        QVERIFY(!reader || getTextFromDb("select group_concat(panel_remark) as r from tbl_panel", "r", remarks));
        QCOMPARE(remarks, reader ? "gathered,kept" : "");
    }

    void loginFrames_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("mac");
        QTest::addColumn<QString>("clientId");
        QTest::addColumn<QByteArray>("passwordBytes");
        QTest::addColumn<QByteArray>("macBytes");
        QTest::addColumn<QByteArray>("clientBytes");
        QTest::newRow("full") << "abcd"
                              << "01-23-45-67-89-ab-cd-ef"
                              << "0f3c-9A" << QByteArray("abcd") << QByteArray::fromHex("0123456789abcdef")
                              << QByteArray("0f3c9A");
        QTest::newRow("short password")
            << "ab"
            << ""
            << "" << QByteArray("ab\0\0", 4) << QByteArray(8, '\0') << QByteArray();
        QTest::newRow("long password") << "abcdef"
                                       << "01-02" << QString(40, QLatin1Char('z')) << QByteArray("abcd")
                                       << QByteArray::fromHex("0102000000000000") << QByteArray(32, 'z');
        QTest::newRow("uuid") << ""
                              << ""
                              << "0123abcd-0123-abcd-0123-0123456789ab" << QByteArray(4, '\0')
                              << QByteArray(8, '\0') << QByteArray("0123abcd0123abcd01230123456789ab");
    }
    void loginFrames()
    {
        QFETCH(QString, password);
        QFETCH(QString, mac);
        QFETCH(QString, clientId);
        QFETCH(QByteArray, passwordBytes);
        QFETCH(QByteArray, macBytes);
        QFETCH(QByteArray, clientBytes);
        gl_password = password;
        gl_ip_port_mac = mac;
        gl_subId = QStringLiteral("3");
        gl_devId = QStringLiteral("300");

        const QByteArray cloud = buildCloudLoginFrame(clientId);
        QCOMPARE(cloud.size(), 56);
        QCOMPARE(cloud.left(8), QByteArray::fromHex("cccc003800a20100"));
        QCOMPARE(cloud.mid(8, 4), passwordBytes);
        QCOMPARE(cloud.mid(12, 8), macBytes);
        QCOMPARE(int(quint8(cloud.at(20))), 3);
        QCOMPARE(int(quint8(cloud.at(21))), 44);
        QCOMPARE(cloud.mid(22, 32), clientBytes + QByteArray(32 - clientBytes.size(), '\0'));
        const quint16 crc = SimFrame::crc16(cloud.left(54));
        QCOMPARE(int(quint8(cloud.at(54))), crc >> 8);
        QCOMPARE(int(quint8(cloud.at(55))), crc & 0xFF);

        const QByteArray dns = buildDnsLoginFrame();
        QCOMPARE(dns.size(), 23);
        QCOMPARE(dns.left(7), QByteArray::fromHex("cccc001700a500"));
        QCOMPARE(dns.mid(7, 4), passwordBytes);
        QCOMPARE(dns.mid(11, 8), macBytes);
        QCOMPARE(dns.mid(19, 2), QByteArray(2, '\0'));
        QCOMPARE(SimFrame::crc16(dns.left(21)), quint16((quint8(dns.at(21)) << 8) | quint8(dns.at(22))));
    }

    void clientIdIsCachedOnce()
    {
        setRegKey(QStringLiteral("machineUniqueId"), QString());
        const QString first = cloudClientId();
        QString stored;
        getRegKey(QStringLiteral("machineUniqueId"), stored);
        QCOMPARE(stored, first);
        setRegKey(QStringLiteral("machineUniqueId"), QStringLiteral("cached-id"));
        QCOMPARE(cloudClientId(), QStringLiteral("cached-id"));
    }

    void loginAnswers_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("text");
        auto cloud = [](quint8 result) {
            QByteArray a = QByteArray::fromHex("cccc001000a3000000000000000000");
            a[13] = char(result);
            const quint16 crc = SimFrame::crc16(a);
            return a + char(crc >> 8) + char(crc & 0xFF);
        };
        auto dns = [](quint8 result) {
            QByteArray a = QByteArray::fromHex("cccc000c00a4000000000000");
            a = a.left(10);
            a[9] = char(result);
            const quint16 crc = SimFrame::crc16(a);
            return a + char(crc >> 8) + char(crc & 0xFF);
        };
        QTest::newRow("cloud 0") << cloud(0) << true << true << "Success";
        QTest::newRow("cloud 1") << cloud(1) << true << false << "MAC(01-02) error";
        QTest::newRow("cloud 2") << cloud(2) << true << false << "IPPORT(01-02) offline";
        QTest::newRow("cloud 3") << cloud(3) << true << false << "Password(pw) error";
        QTest::newRow("cloud 4") << cloud(4) << true << false << "IPPORT(01-02) firmware version too low";
        QTest::newRow("cloud 9") << cloud(9) << true << false << "Failed to connect cloud server";
        QTest::newRow("dns 1") << dns(1) << true << true << "Success";
        QTest::newRow("dns 0") << dns(0) << true << false << "Failed To connect dns server";
        QTest::newRow("dns 2") << dns(2) << true << false << "A2 trigger A4";
        QTest::newRow("dns 5") << dns(5) << true << false << "MAC(01-02) and password(pw) error";
        QTest::newRow("dns 6") << dns(6) << true << false << "Full";
        QTest::newRow("dns 7") << dns(7) << true << false << "Failed To connect dns server";
        QByteArray shortCloud = QByteArray::fromHex("cccc000900a30000");
        const quint16 crc = SimFrame::crc16(shortCloud.left(7));
        shortCloud = shortCloud.left(7) + char(crc >> 8) + char(crc & 0xFF);
        QTest::newRow("9-byte cloud answer") << shortCloud << false << false << "";
        QByteArray other = QByteArray::fromHex("cccc000c00a7000000000000");
        QTest::newRow("other operation") << other << false << false << "";
    }
    void loginAnswers()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, taken);
        QFETCH(bool, ok);
        QFETCH(QString, text);
        gl_ip_port_mac = QStringLiteral("01-02");
        gl_password = QStringLiteral("pw");
        bool gotOk = !ok;
        QString gotText;
        QCOMPARE(readLoginAnswer(reinterpret_cast<const unsigned char *>(answer.constData()), answer.size(),
                                 gotOk, gotText),
                 taken);
        if (taken) {
            QCOMPARE(gotOk, ok);
            QCOMPARE(gotText, text);
        }
    }
};

VARNO_TEST_MAIN(TestIntake)
#include "tst_intake.moc"
