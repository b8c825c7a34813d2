// The device-event log: addresses, dropping of repeated events, and texts that
// hold quotes, over real project databases.

#include "testmain.h"

#include "store/cppsqlite3db.h"
#include "store/devicelog.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "store/schema.h"
#include "stepfault.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

class TestDeviceLog : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_fileNo = 0;

    void exec(const QString &sql) { QVERIFY2(gl_sqlite3db.execDML(sql), qPrintable(sql)); }

    struct LogRow
    {
        int type;
        QString address;
        QString device;
        QString event;
        QString time;
    };
    QList<LogRow> logRows()
    {
        QList<LogRow> rows;
        QSqlQuery q = gl_sqlite3db.execQuery(QStringLiteral(
            "select log_type,log_address,log_device,log_event,log_time from tbl_log order by id"));
        while (q.next())
            rows.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(),
                         q.value(3).toString(), q.value(4).toString()});
        q.finish();
        return rows;
    }
    QStringList events()
    {
        QStringList list;
        for (const LogRow &row : logRows())
            list << row.event;
        return list;
    }

private slots:
    void init()
    {
        gl_sqlite3db.close();
        gl_sqlite3db.setDbName(m_dir.filePath(QStringLiteral("log%1.db3").arg(++m_fileNo)));
        for (const char *table : {"tbl_log", "tbl_region", "tbl_floor", "tbl_room", "tbl_occupation"})
            exec(createStatement(QString::fromLatin1(table)));
        exec(QStringLiteral("insert into tbl_region(region_name,region_id) values('North',1)"));
        exec(QStringLiteral("insert into tbl_region(region_name,region_id) values('South',2)"));
        exec(QStringLiteral("insert into tbl_floor(floor_name,floor_id,region_id) values('Ground',1,1)"));
        exec(QStringLiteral("insert into tbl_floor(floor_name,floor_id,region_id) values('Top',2,2)"));
        exec(QStringLiteral(
            "insert into tbl_room(room_name,room_id,floor_id,region_id) values('Hall',10,1,1)"));
        exec(QStringLiteral(
            "insert into tbl_room(room_name,room_id,floor_id,region_id) values('Attic',11,2,2)"));
        // Floor 2 belongs to region 2, not region 1.
        exec(QStringLiteral(
            "insert into tbl_room(room_name,room_id,floor_id,region_id) values('Lost',12,2,1)"));
        exec(QStringLiteral(
            "insert into tbl_room(room_name,room_id,floor_id,region_id) values('Nowhere',13,1,9)"));
    }
    void cleanupTestCase() { gl_sqlite3db.close(); }

    void firstEventWritesARow()
    {
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        commitLog(QStringLiteral("light_Desk"), QStringLiteral("status is on"), 10, 0);
        const QList<LogRow> rows = logRows();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].type, 0);
        QCOMPARE(rows[0].address, QStringLiteral("North-Ground-Hall"));
        QCOMPARE(rows[0].device, QStringLiteral("light_Desk"));
        QCOMPARE(rows[0].event, QStringLiteral("status is on"));
        const QDateTime at = QDateTime::fromString(rows[0].time, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        QVERIFY2(at.isValid(), qPrintable(rows[0].time));
        QVERIFY(at >= before.addSecs(-1) && at <= QDateTime::currentDateTime().addSecs(1));
    }

    void sequences_data()
    {
        QTest::addColumn<QStringList>("reported");
        QTest::addColumn<QStringList>("logged");
        QTest::newRow("repeat dropped")
            << QStringList{"status is on", "status is on"} << QStringList{"status is on"};
        QTest::newRow("on off on") << QStringList{"status is on", "status is off", "status is on"}
                                   << QStringList{"status is on", "status is off", "status is on"};
        QTest::newRow("case is a change") << QStringList{"status is on", "Status is on", "Status is on"}
                                          << QStringList{"status is on", "Status is on"};
        QTest::newRow("quotes stored and compared as typed")
            << QStringList{"it's on", "it's on", "it''s on"} << QStringList{"it's on", "it''s on"};
    }
    void sequences()
    {
        QFETCH(QStringList, reported);
        QFETCH(QStringList, logged);
        for (const QString &event : reported)
            commitLog(QStringLiteral("light_Desk"), event, 10, 0);
        QCOMPARE(events(), logged);
    }

    void devicesRoomsAndTypesAreSeparate()
    {
        commitLog(QStringLiteral("ac_Main"), QStringLiteral("status is on"), 10, 0);
        commitLog(QStringLiteral("ac_Main"), QStringLiteral("status is on"), 11, 0);
        commitLog(QStringLiteral("ac_Main"), QStringLiteral("status is on"), 10, 1);
        commitLog(QStringLiteral("fh_Main"), QStringLiteral("status is on"), 10, 0);
        // Repeats of each of the four.
        commitLog(QStringLiteral("ac_Main"), QStringLiteral("status is on"), 10, 0);
        commitLog(QStringLiteral("ac_Main"), QStringLiteral("status is on"), 11, 0);
        commitLog(QStringLiteral("ac_Main"), QStringLiteral("status is on"), 10, 1);
        commitLog(QStringLiteral("fh_Main"), QStringLiteral("status is on"), 10, 0);
        const QList<LogRow> rows = logRows();
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[1].address, QStringLiteral("South-Top-Attic"));
        QCOMPARE(rows[2].type, 1);
    }

    void missingPlaceLogsNothing_data()
    {
        QTest::addColumn<int>("room");
        QTest::newRow("no such room") << 99;
        QTest::newRow("floor of another region") << 12;
        QTest::newRow("region missing") << 13;
    }
    void missingPlaceLogsNothing()
    {
        QFETCH(int, room);
        commitLog(QStringLiteral("master"), QStringLiteral("status is on"), room, 0);
        QVERIFY(logRows().isEmpty());
    }

    void namesWithQuotesAreLogged()
    {
        exec(QStringLiteral("update tbl_room set room_name='Bob''s room' where room_id=10"));
        commitLog(QStringLiteral("light_Bob's lamp"), QStringLiteral("status is on"), 10, 0);
        commitLog(QStringLiteral("light_Bob's lamp"), QStringLiteral("status is on"), 10, 0);
        const QList<LogRow> rows = logRows();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].address, QStringLiteral("North-Ground-Bob's room"));
        QCOMPARE(rows[0].device, QStringLiteral("light_Bob's lamp"));
    }

    void renamedRoomLogsUnderTheNewAddress()
    {
        commitLog(QStringLiteral("occupation"), QStringLiteral("status is on"), 10, 0);
        exec(QStringLiteral("update tbl_room set room_name='Lobby' where room_id=10"));
        commitLog(QStringLiteral("occupation"), QStringLiteral("status is on"), 10, 0);
        const QList<LogRow> rows = logRows();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].address, QStringLiteral("North-Ground-Hall"));
        QCOMPARE(rows[1].address, QStringLiteral("North-Ground-Lobby"));
    }

    // The log changes between two reports (the log page removes rows, another
    // writer adds one): the test looks at the rows as they are then.
    void changesOfTheLogBetweenReportsAreSeen_data()
    {
        QTest::addColumn<QStringList>("before"); // events logged first
        QTest::addColumn<QString>("change");     // then run on the table
        QTest::addColumn<QString>("event");      // then logged
        QTest::addColumn<QStringList>("rows");   // events stored at the end
        const QString on = QStringLiteral("status is on");
        const QString off = QStringLiteral("status is off");
        const QString insertOff = QStringLiteral(
            "insert into tbl_log(log_type,log_address,log_device,log_event,log_time) "
            "values(0,'North-Ground-Hall','light_Desk','status is off','2000-01-01 00:00:00')");
        QTest::newRow("newest removed") << QStringList{on, off}
                                        << "delete from tbl_log where log_event='status is off'" << on
                                        << QStringList{on};
        QTest::newRow("added by another writer, later") << QStringList{on}
                                                        << QString(insertOff).replace("2000", "2999") << off
                                                        << QStringList{on, off};
        QTest::newRow("added by another writer, earlier") << QStringList{on} << insertOff << on
                                                          << QStringList{on, off};
        QTest::newRow("emptied") << QStringList{on} << "delete from tbl_log" << on << QStringList{on};
        QTest::newRow("emptied and refilled") << QStringList{on}
                                              << "delete from tbl_log;" + insertOff << off
                                              << QStringList{off};
    }
    void changesOfTheLogBetweenReportsAreSeen()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, change);
        QFETCH(QString, event);
        for (const QString &e : before)
            commitLog(QStringLiteral("light_Desk"), e, 10, 0);
        for (const QString &sql : change.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            exec(sql);
        commitLog(QStringLiteral("light_Desk"), event, 10, 0);
        QTEST(events(), "rows");
    }

    // The writes of sensor 30 fail at every step while it lasts: its reports wait, in
    // order, and hold back no other device's. What is given up is told.
    void failingDeviceHoldsOnlyItself_data()
    {
        QTest::addColumn<bool>("recovers"); // the fault ends, or lasts past the retries
        QTest::newRow("the fault ends") << true;
        QTest::newRow("the fault lasts") << false;
    }
    void failingDeviceHoldsOnlyItself()
    {
        QFETCH(bool, recovers);
        exec(QStringLiteral("insert into tbl_occupation(subnet_id,device_id,channel,status,room_id) "
                            "values(1,30,5,0,10),(1,31,5,0,10)"));
        int lost = 0;
        setDeviceWritesLostHandler([&lost](int count) { lost += count; });
        const auto state = [](int device, int status) {
            storeDeviceState(QStringLiteral("update tbl_occupation set status=%1 where device_id=%2")
                                 .arg(status)
                                 .arg(device));
        };
        const auto status = [](int device) {
            return getValueFromDb(QStringLiteral("select status from tbl_occupation where device_id=%1")
                                      .arg(device),
                                  QStringLiteral("status"));
        };
        // Both fail at first; then only sensor 30, whose writes keep failing.
        StepFault::arm(QStringLiteral("update tbl_occupation"), -1);
        state(30, 1);
        state(31, 1);
        StepFault::arm(QStringLiteral("device_id=30"), -1);
        state(30, 2);
        commitLog(QStringLiteral("occupation"), QStringLiteral("status is on"), 11, 0);
        state(31, 2); // behind the one of its own kept
        QVERIFY(events() == QStringList{"status is on"} && keptDeviceWrites() == 4);
        setKeptWriteRetryInterval(1);
        QTRY_COMPARE(keptDeviceWrites(), 2);
        QVERIFY(status(31) == 2 && lost == 0);
        if (recovers)
            StepFault::disarm();
        // Lasting, a minute of retries each: the first goes, then the one behind it.
        QTRY_COMPARE_WITH_TIMEOUT(keptDeviceWrites(), 0, 10000);
        StepFault::disarm();
        setKeptWriteRetryInterval(1000);
        setDeviceWritesLostHandler(nullptr);
        QCOMPARE(status(30), recovers ? 2 : 0);
        QCOMPARE(lost, recovers ? 0 : 2);
    }

    // Sensor 30's writes fail at every step: its reports get a last try before their
    // database is left; past 2,000 kept the oldest are given up and told.
    void keptWritesAtTheEnd_data()
    {
        QTest::addColumn<int>("reports");
        QTest::addColumn<int>("atLimit"); // given up as they came
        QTest::addColumn<int>("status");  // sensor 30's after the last try, the fault gone
        QTest::newRow("a last try before leaving") << 3 << 0 << 3;
        QTest::newRow("past 2,000 kept") << 2005 << 5 << 2005;
    }
    void keptWritesAtTheEnd()
    {
        QFETCH(int, reports);
        exec(QStringLiteral("insert into tbl_occupation(subnet_id,device_id,channel,status,room_id) "
                            "values(1,30,5,0,10)"));
        int lost = 0;
        setDeviceWritesLostHandler([&lost](int count) { lost += count; });
        StepFault::arm(QStringLiteral("device_id=30"), -1);
        for (int i = 1; i <= reports; ++i)
            storeDeviceState(QStringLiteral("update tbl_occupation set status=%1 where device_id=30").arg(i));
        StepFault::disarm();
        setDeviceWritesLostHandler(nullptr);
        QTEST(lost, "atLimit");
        QCOMPARE(keptDeviceWrites(), reports - lost);
        storeKeptDeviceWrites(); // the project is about to be left
        QCOMPARE(keptDeviceWrites(), 0);
        QTEST(getValueFromDb("select status from tbl_occupation where device_id=30", "status"), "status");
    }

    void newestOfTheSameSecondIsTheLastWritten()
    {
        // Two rows stamped in the same second, later than now: the one written
        // last is the newest, whatever order the time alone would give.
        const QString stamp = QStringLiteral("2999-01-01 00:00:00");
        for (const char *event : {"status is on", "status is off"}) {
            exec(QStringLiteral("insert into tbl_log(log_type,log_address,log_device,log_event,log_time) "
                                "values(0,'North-Ground-Hall','light_Desk','%1','%2')")
                     .arg(QLatin1String(event), stamp));
        }
        commitLog(QStringLiteral("light_Desk"), QStringLiteral("status is off"), 10, 0);
        QCOMPARE(logRows().size(), 2);
        commitLog(QStringLiteral("light_Desk"), QStringLiteral("status is on"), 10, 0);
        QCOMPARE(logRows().size(), 3);
    }
};

VARNO_TEST_MAIN(TestDeviceLog)
#include "tst_devicelog.moc"
