// The database connection, the query helpers, the schema and the creation,
// repair, upgrade and retention of project databases, on real SQLite files.

#include "testmain.h"
#include "dbrows.h"
#include "stepfault.h"

#include "store/cppsqlite3db.h"
#include "store/databasecopy.h"
#include "store/databaseinit.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "store/schema.h"
#include "store/steppeddatabasecopy.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

class TestDatabase : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_fileNo = 0;

    QString newPath() { return m_dir.filePath(QStringLiteral("db%1.db3").arg(++m_fileNo)); }
    int count(const QString &table)
    {
        return getValueFromDb(QStringLiteral("select count(*) as n from %1").arg(table),
                              QStringLiteral("n"));
    }
    QString freshProjectDatabase()
    {
        const QString path = newPath();
        initDatabase(path);
        return path;
    }

private slots:
    void init()
    {
        gl_retainDays = QStringLiteral("30");
        gl_host_ip.clear();
        gl_ip_port_mac.clear();
        gl_password.clear();
        gl_server_ip.clear();
        gl_domain_name.clear();
    }
    void cleanupTestCase() { gl_sqlite3db.close(); }

    // --- connection ---

    void statementsStayOnTheOpenFileUntilClose()
    {
        const QString first = newPath();
        const QString second = newPath();
        gl_sqlite3db.close();
        gl_sqlite3db.setDbName(first);
        QVERIFY(gl_sqlite3db.execDML(QStringLiteral("create table t1(id integer primary key)")));
        gl_sqlite3db.setDbName(second);
        QVERIFY(gl_sqlite3db.execDML(QStringLiteral("create table t2(id integer primary key)")));
        QVERIFY(gl_sqlite3db.tableExists(QStringLiteral("t2")));
        gl_sqlite3db.close();
        QVERIFY(!gl_sqlite3db.tableExists(QStringLiteral("t1")));
        QVERIFY(!gl_sqlite3db.tableExists(QStringLiteral("t2")));
    }

    void connectionsAreNumberedAndUnregisteredOnClose()
    {
        gl_sqlite3db.close();
        gl_sqlite3db.setDbName(newPath());
        gl_sqlite3db.open();
        const QString firstName = gl_sqlite3db.connectionName();
        QVERIFY(firstName.startsWith(QLatin1String("default_")));
        gl_sqlite3db.open();
        const QString secondName = gl_sqlite3db.connectionName();
        QCOMPARE(secondName.mid(8).toInt(), firstName.mid(8).toInt() + 1);
        QVERIFY(!QSqlDatabase::contains(firstName));
        gl_sqlite3db.close();
        QVERIFY(!QSqlDatabase::contains(secondName));
        QVERIFY(!gl_sqlite3db.isOpen());
    }

    void tableAndFieldTests()
    {
        gl_sqlite3db.close();
        gl_sqlite3db.setDbName(newPath());
        QVERIFY(!gl_sqlite3db.tableExists(QStringLiteral("tbl_room")));
        QVERIFY(gl_sqlite3db.execDML(createStatement(QStringLiteral("tbl_room"))));
        QVERIFY(gl_sqlite3db.tableExists(QStringLiteral("tbl_room")));
        QVERIFY(!gl_sqlite3db.tableExists(QStringLiteral("TBL_ROOM")));
        QVERIFY(gl_sqlite3db.fieldExists(QStringLiteral("id"), QStringLiteral("tbl_room")));
        QVERIFY(gl_sqlite3db.fieldExists(QStringLiteral("ROOM_NAME"), QStringLiteral("tbl_room")));
        QVERIFY(!gl_sqlite3db.fieldExists(QStringLiteral("id"), QStringLiteral("tbl_missing")));
        // A quote in a name is a name, not SQL.
        QVERIFY(!gl_sqlite3db.fieldExists(QStringLiteral("x' or '1'='1"), QStringLiteral("tbl_room")));
        QVERIFY(!gl_sqlite3db.fieldExists(QStringLiteral("id"), QStringLiteral("tbl_room' or '1'='1")));
        QCOMPARE(gl_sqlite3db.getTableList(), QStringList{QStringLiteral("tbl_room")});
    }

    void twoStatementsInOneCallFailAndChangeNothing()
    {
        gl_sqlite3db.close();
        gl_sqlite3db.setDbName(newPath());
        gl_sqlite3db.execDML(QStringLiteral("create table t(id integer primary key, v integer)"));
        gl_sqlite3db.execDML(QStringLiteral("insert into t(v) values(1)"));
        QVERIFY(!gl_sqlite3db.execDML(QStringLiteral("delete from t; delete from t")));
        QCOMPARE(count(QStringLiteral("t")), 1);
        // The connection stays usable after a failed statement.
        QVERIFY(gl_sqlite3db.execDML(QStringLiteral("insert into t(v) values(2)")));
        QCOMPARE(count(QStringLiteral("t")), 2);
    }

    void openErrorIsKept()
    {
        CppSQLite3DB db;
        QVERIFY(db.getError().isEmpty());
        db.setDbName(m_dir.filePath(QStringLiteral("no/such/folder/x.db3")));
        QVERIFY(!db.execDML(QStringLiteral("create table t(id integer)")));
        QVERIFY(!db.getError().isEmpty());
        const QString error = db.getError();
        db.close();
        db.setDbName(newPath());
        QVERIFY(db.execDML(QStringLiteral("create table t(id integer)")));
        QCOMPARE(db.getError(), error);
        QVERIFY(db.getTableList().contains(QStringLiteral("t")));
    }

    void transactionIsAllOrNothing()
    {
        gl_sqlite3db.close();
        gl_sqlite3db.setDbName(newPath());
        gl_sqlite3db.execDML(QStringLiteral("create table t(id integer primary key, v integer)"));
        QVERIFY(!execTransaction({QStringLiteral("insert into t(v) values(1)"),
                                  QStringLiteral("insert into nowhere(v) values(2)")}));
        QCOMPARE(count(QStringLiteral("t")), 0);
        // A failure inside a nested group rolls back the outer group too.
        QVERIFY(gl_sqlite3db.beginTransaction());
        gl_sqlite3db.execDML(QStringLiteral("insert into t(v) values(1)"));
        QVERIFY(!execTransaction({QStringLiteral("insert into nowhere(v) values(2)")}));
        QVERIFY(!gl_sqlite3db.commitTransaction());
        QCOMPARE(count(QStringLiteral("t")), 0);
        QVERIFY(execTransaction(
            {QStringLiteral("insert into t(v) values(1)"), QStringLiteral("insert into t(v) values(2)")}));
        QCOMPARE(count(QStringLiteral("t")), 2);
    }

    // A copy of the database, from a connection of its own or through gl_sqlite3db in
    // slices, with its N-th step failed for N = 1, 2, ... until a run reaches no failure:
    // each failed run says so and leaves no file; the last one copies every row.
    void copyFailsWithAnyStep_data()
    {
        QTest::addColumn<bool>("stepped");
        QTest::newRow("from a connection of its own") << false;
        QTest::newRow("through the connection, in slices") << true;
    }
    void copyFailsWithAnyStep()
    {
        QFETCH(bool, stepped);
        const QString source = newPath(), target = newPath();
        gl_sqlite3db.close();
        gl_sqlite3db.setDbName(source);
        QVERIFY(gl_sqlite3db.execDML(QStringLiteral("create table t(b blob)")));
        QVERIFY(gl_sqlite3db.execDML(QStringLiteral("with n(i) as (select 1 union all select i + 1 from n "
                                                    "where i < 300) insert into t select randomblob(2000) "
                                                    "from n")));
        const auto content = [](const QString &path) { return dbRows(path, "select hex(b) from t"); };
        auto unhook = qScopeGuard([] { DatabaseCopy::setStepFaultForTest(nullptr); });
        for (int failed = 1; failed < 100; ++failed) {
            bool fired = false;
            DatabaseCopy::setStepFaultForTest([&](int step, int rc) {
                return step == failed ? (fired = true, SQLITE_IOERR) : rc;
            });
            bool ok = !stepped && DatabaseCopy::copy(source, target);
            if (stepped) {
                SteppedDatabaseCopy copy(gl_sqlite3db, source, target, nullptr);
                QSignalSpy finished(&copy, &SteppedDatabaseCopy::finished);
                copy.start();
                QVERIFY(finished.wait());
                ok = finished.at(0).at(0).toBool();
            }
            QCOMPARE(ok, !fired);
            QCOMPARE(QFileInfo::exists(target), !fired);
            if (!fired) {
                QVERIFY(failed > (stepped ? 3 : 1)); // 150 pages, 64 a step
                const QStringList copied = content(target);
                QVERIFY(copied.size() == 300 && copied == content(source));
                return;
            }
        }
        QFAIL("every run failed");
    }

    // Device writes (bound statements) gather in one transaction: this connection
    // sees them at once, another one once they are committed, BatchMs later or
    // before any other statement; a caller's own transaction never takes them in.
    void boundWritesAreGatheredAndCommitted()
    {
        const QString path = newPath();
        gl_sqlite3db.close();
        gl_sqlite3db.setDbName(path);
        gl_sqlite3db.execDML(QStringLiteral("create table t(id integer primary key, v integer)"));
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(path);
        QVERIFY(other.open());
        auto seenByOther = [&other] {
            QSqlQuery q(other);
            return q.exec(QStringLiteral("select count(*) from t")) && q.next() ? q.value(0).toInt() : -1;
        };

        int changed = 0;
        qint64 id = 0;
        QVERIFY(gl_sqlite3db.execBound(QStringLiteral("insert into t(v) values(?)"), {7}, &changed, &id));
        QCOMPARE(changed, 1);
        QCOMPARE(id, qint64(1));
        QVERIFY(gl_sqlite3db.batchOpen());
        QSqlQuery mine = gl_sqlite3db.queryBound(QStringLiteral("select v from t where id=?"), {id});
        QVERIFY(mine.next());
        QCOMPARE(mine.value(0).toInt(), 7);
        mine.finish();
        QCOMPARE(seenByOther(), 0);
        QTRY_VERIFY(!gl_sqlite3db.batchOpen());
        QCOMPARE(seenByOther(), 1);

        // A caller's transaction that is rolled back keeps the device write before it.
        QVERIFY(gl_sqlite3db.execBound(QStringLiteral("insert into t(v) values(?)"), {8}));
        QVERIFY(gl_sqlite3db.beginTransaction());
        QVERIFY(!gl_sqlite3db.batchOpen());
        gl_sqlite3db.execDML(QStringLiteral("insert into t(v) values(9)"));
        gl_sqlite3db.rollbackTransaction();
        QCOMPARE(seenByOther(), 2);
        // Inside a caller's transaction a bound write is part of it.
        QVERIFY(gl_sqlite3db.beginTransaction());
        QVERIFY(gl_sqlite3db.execBound(QStringLiteral("insert into t(v) values(?)"), {10}));
        QVERIFY(!gl_sqlite3db.batchOpen());
        gl_sqlite3db.rollbackTransaction();
        QCOMPARE(count(QStringLiteral("t")), 2);
        // The close commits what is gathered.
        QVERIFY(gl_sqlite3db.execBound(QStringLiteral("insert into t(v) values(?)"), {11}));
        gl_sqlite3db.close();
        QCOMPARE(seenByOther(), 3);
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    }

    // A batch whose commit fails (a deferred foreign key) keeps its writes, warns
    // once, and runs them again at the head of the next batch until one commits.
    void failedBatchCommitKeepsItsWrites()
    {
        gl_sqlite3db.close();
        gl_sqlite3db.setDbName(newPath());
        for (const char *sql : {"create table p(id integer primary key)",
                                "create table c(p integer references p(id) deferrable initially deferred)",
                                "pragma foreign_keys=on"})
            QVERIFY(gl_sqlite3db.execDML(QLatin1String(sql)));
        static int warnings = 0;
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &, const QString &text) {
                warnings += type == QtWarningMsg && text.contains(QLatin1String("device writes"));
            });
        // A batch past the bound whose commit has not failed keeps every write, without a word.
        for (int n = 0; n < CppSQLite3DB::MaxKeptWrites + 1000; ++n)
            QVERIFY(gl_sqlite3db.execBound(QStringLiteral("insert into p(id) values(?)"), {n + 10}));
        QVERIFY(gl_sqlite3db.flushBatch() && count(QStringLiteral("p")) == 3000 && warnings == 0);
        const QString insert = QStringLiteral("insert into c(p) values(?)");
        QVERIFY(gl_sqlite3db.execBound(insert, {5}));
        QVERIFY(!gl_sqlite3db.flushBatch());
        QVERIFY(gl_sqlite3db.execBound(insert, {5}));
        QCOMPARE(count(QStringLiteral("c")), 0); // the commit before it failed again
        QVERIFY(gl_sqlite3db.execDML(QStringLiteral("insert into p(id) values(5)")));
        QVERIFY(gl_sqlite3db.execBound(insert, {5}));
        QTRY_VERIFY(!gl_sqlite3db.batchOpen());
        qInstallMessageHandler(previous);
        QCOMPARE(warnings, 1);
        QCOMPARE(count(QStringLiteral("c")), 3);
    }

    // While every commit fails (each device write leaves an orphan behind a
    // deferred foreign key), the kept writes stay at their bound and a batch
    // replays no more than that; once commits succeed the last state of every
    // device is stored.
    void keptWritesStayBounded()
    {
        gl_sqlite3db.close();
        gl_sqlite3db.setDbName(newPath());
        for (const char *sql :
             {"create table p(id integer primary key)",
              "create table c(p integer references p(id) deferrable initially deferred)",
              "create table d(id integer primary key, v integer)",
              "create trigger orphan after update on d begin insert into c(p) values(5); end",
              "pragma foreign_keys=on"})
            QVERIFY(gl_sqlite3db.execDML(QLatin1String(sql)));
        const int devices = 10;
        for (int id = 0; id < devices; ++id)
            QVERIFY(gl_sqlite3db.execDML(QStringLiteral("insert into d(id,v) values(%1,-1)").arg(id)));
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        const QString update = QStringLiteral("update d set v=? where id=?");
        int mostReplayed = 0;
        int mostKept = 0;
        for (int n = 0; n < 50000; ++n) {
            QVERIFY(gl_sqlite3db.execBound(update, {n, n % devices}));
            if (n % 1000 == 0) {
                // The first write of a batch comes after the kept writes it replays; each
                // left its orphan in c, seen inside the batch.
                QSqlQuery orphans = gl_sqlite3db.queryBound(QStringLiteral("select count(*) from c"), {});
                QVERIFY(orphans.next());
                mostReplayed = qMax(mostReplayed, orphans.value(0).toInt() - 1);
                orphans.finish();
            }
            mostKept = qMax(mostKept, gl_sqlite3db.pendingWriteCount());
            if (n % 1000 == 999)
                QVERIFY(!gl_sqlite3db.flushBatch());
        }
        qInstallMessageHandler(previous);
        QCOMPARE(mostKept, CppSQLite3DB::MaxKeptWrites);
        QCOMPARE(mostReplayed, CppSQLite3DB::MaxKeptWrites);
        QCOMPARE(count(QStringLiteral("c")), 0);
        QVERIFY(gl_sqlite3db.execDML(QStringLiteral("insert into p(id) values(5)")));
        QVERIFY(gl_sqlite3db.flushBatch());
        QCOMPARE(count(QStringLiteral("c")), CppSQLite3DB::MaxKeptWrites);
        QSqlQuery last = gl_sqlite3db.execQuery(QStringLiteral("select id,v from d order by id"));
        for (int id = 0; id < devices; ++id) {
            QVERIFY(last.next());
            QCOMPARE(last.value(1).toInt(), 50000 - devices + id);
        }
    }

    // --- query helpers ---

    void queryHelpers()
    {
        gl_sqlite3db.close();
        gl_sqlite3db.setDbName(newPath());
        gl_sqlite3db.execDML(QStringLiteral("create table t(id integer primary key, v nvarchar)"));
        QVERIFY(!isRecordExist(QStringLiteral("select * from t")));
        QString text = QStringLiteral("default");
        QVERIFY(!getTextFromDb(QStringLiteral("select v from t"), QStringLiteral("v"), text));
        QCOMPARE(text, QStringLiteral("default"));

        gl_sqlite3db.execDML(QStringLiteral("insert into t(v) values('3')"));
        gl_sqlite3db.execDML(QStringLiteral("insert into t(v) values('x')"));
        gl_sqlite3db.execDML(QStringLiteral("insert into t(v) values(NULL)"));
        QVERIFY(isRecordExist(QStringLiteral("select * from t where v='3'")));

        QStringList values{QStringLiteral("old")};
        QCOMPARE(getValuesFromDb(QStringLiteral("select v from t order by id"), QStringLiteral("v"), values),
                 3);
        QCOMPARE(values, (QStringList{"3", "0", "0"}));
        QStringList texts{QStringLiteral("old")};
        QCOMPARE(getTextsFromDb(QStringLiteral("select * from t order by id"), QStringLiteral("v"), texts),
                 3);
        QCOMPARE(texts, (QStringList{"3", "x", ""}));
        // A column missing from the result reads empty on every row.
        QCOMPARE(getTextsFromDb(QStringLiteral("select id from t order by id"), QStringLiteral("v"), texts),
                 3);
        QCOMPARE(texts, (QStringList{"", "", ""}));
        QCOMPARE(getValueFromDb(QStringLiteral("select v from t where v is NULL"), QStringLiteral("v")), 0);
        QCOMPARE(getDoubleFromDb(QStringLiteral("select 2.5 as d"), QStringLiteral("d")), 2.5);
        // A column that is not in the result reads empty.
        QCOMPARE(getValueFromDb(QStringLiteral("select v from t"), QStringLiteral("nope")), 0);

        // A failing query finds no row and clears lists, but is told from one without
        // rows: so is a step that fails part way through the rows.
        QCOMPARE(getTextsFromDb(QStringLiteral("select from where"), QStringLiteral("v"), texts), -1);
        QVERIFY(texts.isEmpty());
        bool ok = true;
        QVERIFY(!isRecordExist(QStringLiteral("selec * from t"), &ok));
        QVERIFY(!ok);
        ok = true;
        QCOMPARE(getValueFromDb(QStringLiteral("selec * from t"), QStringLiteral("v"), &ok), 0);
        QVERIFY(!ok);
        QVERIFY(isRecordExist(QStringLiteral("select v from t where v is NULL"), &ok));
        QVERIFY(ok);
        StepFault::arm(QStringLiteral("select v from t order by id"), 3);
        QCOMPARE(getValuesFromDb(QStringLiteral("select v from t order by id"), QStringLiteral("v"), values),
                 -1);
        QVERIFY(values.isEmpty());
        StepFault::arm(QStringLiteral("select * from t"), 1);
        text.clear();
        QVERIFY(!getTextFromDb(QStringLiteral("select * from t"), QStringLiteral("v"), text, &ok));
        QVERIFY(!ok);
        StepFault::disarm();
    }

    void quotedTextRoundTrips_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("quotes") << QStringLiteral("Bob's \"big\" room");
        QTest::newRow("only quote") << QStringLiteral("'");
        QTest::newRow("injection") << QStringLiteral("x'); delete from tbl_room; --");
        QTest::newRow("utf8") << QStringLiteral("Küche °C 客厅");
        QTest::newRow("percent") << QStringLiteral("%1 %s %d");
    }
    void quotedTextRoundTrips()
    {
        QFETCH(QString, name);
        freshProjectDatabase();
        QVERIFY(
            gl_sqlite3db.execDML(QStringLiteral("insert into tbl_room(room_name,room_id) values('%1',%2)")
                                     .arg(sqlText(name), QString::number(7))));
        QString stored;
        QVERIFY(getTextFromDb(
            QStringLiteral("select room_name from tbl_room where room_name='%1'").arg(sqlText(name)),
            QStringLiteral("room_name"), stored));
        QCOMPARE(stored.toUtf8(), name.toUtf8());
        QCOMPARE(count(QStringLiteral("tbl_room")), 1);
    }

    // --- schema and creation ---

    void newDatabaseHasExactlyTheSchema()
    {
        freshProjectDatabase();
        QStringList names;
        getTextsFromDb(QStringLiteral("select name from sqlite_master where type='table' order by name"),
                       QStringLiteral("name"), names);
        QCOMPARE(names.size(), 34);
        for (const QString &name : names)
            QVERIFY2(name.startsWith(QLatin1String("tbl_")), qPrintable(name));
        QVERIFY(!isRecordExist(QStringLiteral("select * from sqlite_master where type!='table'")));
        for (const TableSchema &t : projectTables()) {
            QString sql;
            QVERIFY(getTextFromDb(
                QStringLiteral("select sql from sqlite_master where name='%1'").arg(QLatin1String(t.name)),
                QStringLiteral("sql"), sql));
            // SQLite keeps the text as given, but for the leading keywords.
            QCOMPARE(sql.mid(12), QString::fromLatin1(t.createSql).mid(12));
            QCOMPARE(sql.left(12).toLower(), QStringLiteral("create table"));
        }
    }

    void seedRowCounts_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("rows");
        const QMap<QString, int> seeded = {
            {"tbl_log_type", 2},  {"tbl_message_type", 2}, {"tbl_message_status", 5},
            {"tbl_server_ip", 3}, {"tbl_domain", 3},       {"tbl_fnt_type", 51},
            {"tbl_fnt_prm1", 48}, {"tbl_comp2_item", 127}, {"tbl_comp3_item", 124},
            {"tbl_network", 1},   {"tbl_version", 1},
        };
        for (const TableSchema &t : projectTables()) {
            const QString name = QLatin1String(t.name);
            QTest::newRow(t.name) << name << seeded.value(name, 0);
        }
    }
    void seedRowCounts()
    {
        QFETCH(QString, table);
        QFETCH(int, rows);
        freshProjectDatabase();
        QCOMPARE(count(table), rows);
    }

    void seedRowsAndVersion()
    {
        gl_host_ip = QStringLiteral("10.1.2.3");
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        freshProjectDatabase();
        QStringList names;
        getTextsFromDb(QStringLiteral("select * from tbl_message_status order by message_status"),
                       QStringLiteral("message_status_name"), names);
        QCOMPARE(names, (QStringList{"suspend", "user cancel", "processing", "processed", "secured"}));
        getTextsFromDb(QStringLiteral("select * from tbl_log_type order by log_type"),
                       QStringLiteral("log_type_name"), names);
        QCOMPARE(names, (QStringList{"device status", "device alert"}));
        getTextsFromDb(QStringLiteral("select * from tbl_server_ip order by id"), QStringLiteral("alias"),
                       names);
        QCOMPARE(names, (QStringList{"Kest Server AUS", "Kest Server ASIA", "Kest Server USA"}));
        // The shipped server addresses and names reach nothing real.
        getTextsFromDb(QStringLiteral("select * from tbl_server_ip order by id"), QStringLiteral("ip"),
                       names);
        for (const QString &ip : names)
            QVERIFY2(ip.startsWith(QLatin1String("203.0.113.")), qPrintable(ip));
        getTextsFromDb(QStringLiteral("select * from tbl_domain order by id"), QStringLiteral("domain"),
                       names);
        for (const QString &domain : names)
            QVERIFY2(domain.endsWith(QLatin1String(".invalid")), qPrintable(domain));

        QString text;
        QVERIFY(getTextFromDb(QStringLiteral("select * from tbl_version"), QStringLiteral("name"), text));
        QCOMPARE(text, QStringLiteral("Varno"));
        getTextFromDb(QStringLiteral("select * from tbl_version"), QStringLiteral("version"), text);
        QCOMPARE(text, QStringLiteral("3.01"));
        getTextFromDb(QStringLiteral("select * from tbl_version"), QStringLiteral("date"), text);
        // The day it was made: the day the row began, or the next when midnight came meanwhile.
        QVERIFY2(text == today || text == QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")),
                 qPrintable(text));
        getTextFromDb(QStringLiteral("select * from tbl_network"), QStringLiteral("host_ip"), text);
        QCOMPARE(text, QStringLiteral("10.1.2.3"));
        QCOMPARE(getValueFromDb(QStringLiteral("select * from tbl_network"), QStringLiteral("server_type")),
                 0);
    }

    void versionUpgrade_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("reseeds");
        QTest::newRow("3.00") << "3.00" << true;
        QTest::newRow("not a number") << "abc" << true;
        QTest::newRow("2.9") << "2.9" << true;
        QTest::newRow("3.01") << "3.01" << false;
        QTest::newRow("3.50") << "3.50" << false;
    }
    void versionUpgrade()
    {
        QFETCH(QString, stored);
        QFETCH(bool, reseeds);
        const QString path = freshProjectDatabase();
        gl_sqlite3db.execDML(QStringLiteral("delete from tbl_log_type"));
        gl_sqlite3db.execDML(QStringLiteral("insert into tbl_fnt_type(item) values('extra')"));
        gl_sqlite3db.execDML(QStringLiteral("insert into tbl_room(room_name,room_id) values('kept',1)"));
        gl_sqlite3db.execDML(
            QStringLiteral("update tbl_version set version='%1',date='2000-01-01'").arg(stored));

        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        initDatabase(path);
        QCOMPARE(count(QStringLiteral("tbl_room")), 1);
        QString version, date;
        getTextFromDb(QStringLiteral("select * from tbl_version"), QStringLiteral("version"), version);
        getTextFromDb(QStringLiteral("select * from tbl_version"), QStringLiteral("date"), date);
        if (reseeds) {
            QCOMPARE(count(QStringLiteral("tbl_log_type")), 2);
            QCOMPARE(count(QStringLiteral("tbl_fnt_type")), 51);
            QCOMPARE(version, QStringLiteral("3.01"));
            QVERIFY2(date == today || date == QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")),
                     qPrintable(date));
        } else {
            QCOMPARE(count(QStringLiteral("tbl_log_type")), 0);
            QCOMPARE(count(QStringLiteral("tbl_fnt_type")), 52);
            QCOMPARE(version, stored);
            QCOMPARE(date, QStringLiteral("2000-01-01"));
        }
    }

    void missingTablesAreCreatedOnReopen()
    {
        const QString path = freshProjectDatabase();
        gl_sqlite3db.execDML(QStringLiteral("drop table tbl_message_status"));
        gl_sqlite3db.execDML(QStringLiteral("drop table tbl_mood"));
        initDatabase(path);
        QVERIFY(gl_sqlite3db.tableExists(QStringLiteral("tbl_mood")));
        QCOMPARE(count(QStringLiteral("tbl_message_status")), 5);
    }

    void networkTableRepairKeepsSettings_data()
    {
        QTest::addColumn<bool>("readFails");
        QTest::newRow("row read") << false;
        // Not rebuilt from a row that could not be read: the old table stays as it is.
        QTest::newRow("row read fails") << true;
    }
    void networkTableRepairKeepsSettings()
    {
        QFETCH(bool, readFails);
        const QString path = newPath();
        gl_sqlite3db.close();
        gl_sqlite3db.setDbName(path);
        gl_sqlite3db.execDML(
            QStringLiteral("create table tbl_network(id integer primary key,subnet_id integer,"
                           "device_id integer,ip_port_mac nvarchar,password nvarchar,"
                           "server_ip nvarchar,domain_name nvarchar,host_ip nvarchar,"
                           "server_type integer,static_server_ip nvarchar)"));
        gl_sqlite3db.execDML(
            QStringLiteral("insert into tbl_network(ip_port_mac,password,server_ip,domain_name,"
                           "host_ip) values('01-02-03-04-05-06-07-08','ab''c','srv',"
                           "'dom','10.0.0.9')"));
        StepFault::arm(QStringLiteral("select * from tbl_network"), readFails ? 1 : 0);
        initDatabase(path);
        QCOMPARE(StepFault::fired(), readFails);
        StepFault::disarm();
        QCOMPARE(gl_sqlite3db.fieldExists(QStringLiteral("static_domain"), QStringLiteral("tbl_network")),
                 !readFails);
        QCOMPARE(count(QStringLiteral("tbl_network")), 1);
        if (readFails) {
            QString mac;
            QVERIFY(getTextFromDb(QStringLiteral("select * from tbl_network"), QStringLiteral("ip_port_mac"),
                                  mac));
            QCOMPARE(mac, QStringLiteral("01-02-03-04-05-06-07-08"));
            return;
        }
        QCOMPARE(gl_ip_port_mac, QStringLiteral("01-02-03-04-05-06-07-08"));
        QCOMPARE(gl_password, QStringLiteral("ab'c"));
        QCOMPARE(gl_server_ip, QStringLiteral("srv"));
        QCOMPARE(gl_domain_name, QStringLiteral("dom"));
        QCOMPARE(gl_host_ip, QStringLiteral("10.0.0.9"));
    }

    void networkConfigWithoutRowKeepsGlobals()
    {
        initDatabase(newPath());
        gl_sqlite3db.execDML(QStringLiteral("update tbl_network set ip_port_mac='AA',password='pw',"
                                            "server_ip='s',domain_name='d',host_ip='h'"));
        getNetworkConfig();
        QCOMPARE((QStringList{gl_ip_port_mac, gl_password, gl_server_ip, gl_domain_name, gl_host_ip}),
                 (QStringList{"AA", "pw", "s", "d", "h"}));

        gl_sqlite3db.execDML(QStringLiteral("delete from tbl_network"));
        gl_ip_port_mac = QStringLiteral("kept");
        getNetworkConfig();
        QCOMPARE(gl_ip_port_mac, QStringLiteral("kept"));
        QCOMPARE(gl_host_ip, QStringLiteral("h"));
    }

    void ipPortMacKeepsTenNewest()
    {
        const QString path = freshProjectDatabase();
        for (int i = 0; i < 15; ++i) {
            gl_sqlite3db.execDML(
                QStringLiteral("insert into tbl_ip_port_mac(ip_port_mac,password,update_time) "
                               "values('m%1','p','202601010000%2')")
                    .arg(i)
                    .arg(i, 2, 10, QLatin1Char('0')));
        }
        initDatabase(path);
        QCOMPARE(count(QStringLiteral("tbl_ip_port_mac")), 10);
        QVERIFY(!isRecordExist(QStringLiteral("select * from tbl_ip_port_mac where ip_port_mac='m4'")));
        QVERIFY(isRecordExist(QStringLiteral("select * from tbl_ip_port_mac where ip_port_mac='m5'")));

        gl_sqlite3db.execDML(QStringLiteral("delete from tbl_ip_port_mac"));
        for (int i = 0; i < 12; ++i) {
            gl_sqlite3db.execDML(QStringLiteral("insert into tbl_ip_port_mac(ip_port_mac,update_time) "
                                                "values('m%1','20260101000000')")
                                     .arg(i));
        }
        initDatabase(path);
        QCOMPARE(count(QStringLiteral("tbl_ip_port_mac")), 12);

        gl_sqlite3db.execDML(QStringLiteral("drop table tbl_ip_port_mac"));
        gl_sqlite3db.execDML(
            QStringLiteral("create table tbl_ip_port_mac(id integer primary key,ip_port_mac "
                           "nvarchar,password nvarchar)"));
        initDatabase(path);
        QVERIFY(gl_sqlite3db.fieldExists(QStringLiteral("update_time"), QStringLiteral("tbl_ip_port_mac")));
    }

    void retention_data()
    {
        QTest::addColumn<QString>("retain");
        QTest::addColumn<int>("keepAfterSeconds"); // rows older than now - this many seconds go
        QTest::newRow("30 days") << "30" << 30 * 86400;
        QTest::newRow("1 day") << "1" << 86400;
        QTest::newRow("0 keeps nothing up to now") << "0" << 0;
        QTest::newRow("typo means 30") << "3o" << 30 * 86400;
        QTest::newRow("negative means 30") << "-5" << 30 * 86400;
        QTest::newRow("empty means 30") << "" << 30 * 86400;
        QTest::newRow("spaces mean 30") << " 7" << 30 * 86400;
    }
    void retention()
    {
        QFETCH(QString, retain);
        QFETCH(int, keepAfterSeconds);
        const QString path = freshProjectDatabase();
        const QDateTime now = QDateTime::currentDateTime();
        const QString fmt = QStringLiteral("yyyy-MM-dd HH:mm:ss");
        const QString goes = now.addSecs(-keepAfterSeconds).toString(fmt);
        const QString stays = now.addSecs(-keepAfterSeconds + 60).toString(fmt);
        const QString old = now.addDays(-400).toString(fmt);
        for (const QString &t : {goes, stays, old, QString()}) {
            gl_sqlite3db.execDML(
                QStringLiteral("insert into tbl_log(log_type,log_time) values(0,'%1')").arg(t));
            gl_sqlite3db.execDML(
                QStringLiteral("insert into tbl_message_log(message_id,recv_time) values(1,'%1')").arg(t));
        }
        gl_retainDays = retain;
        initDatabase(path);
        QStringList left;
        getTextsFromDb(QStringLiteral("select log_time from tbl_log"), QStringLiteral("log_time"), left);
        // Old rows, rows without a time and the row at the cut-off go; the row
        // a minute younger stays (with retention 0 it lies in the future): the cut-off
        // is taken after now, by far less than that.
        QCOMPARE(left, QStringList{stays});
        getTextsFromDb(QStringLiteral("select recv_time from tbl_message_log"), QStringLiteral("recv_time"),
                       left);
        QCOMPARE(left, QStringList{stays});
    }

    void retentionDaysParsing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("days");
        QTest::newRow("30") << "30" << 30;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("365") << "365" << 365;
        QTest::newRow("letters") << "abc" << 30;
        QTest::newRow("negative") << "-1" << 30;
        QTest::newRow("fraction") << "1.5" << 30;
        QTest::newRow("huge keeps all") << "99999999999999999999" << -1;
    }
    void retentionDaysParsing()
    {
        QFETCH(QString, text);
        QFETCH(int, days);
        QCOMPARE(retentionDays(text), days);
    }

    void legalFormat_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("legal");
        QTest::newRow("project database") << "project" << true;
        QTest::newRow("identity in other case") << "case" << false;
        QTest::newRow("no tbl_version") << "noversion" << false;
        QTest::newRow("empty tbl_version") << "emptyversion" << false;
        QTest::newRow("empty file") << "emptyfile" << false;
        QTest::newRow("not sqlite") << "text" << false;
        QTest::newRow("missing path") << "missing" << false;
    }
    void legalFormat()
    {
        QFETCH(QString, kind);
        QFETCH(bool, legal);
        const QString path = newPath();
        if (kind == QLatin1String("project") || kind == QLatin1String("case") ||
            kind == QLatin1String("emptyversion") || kind == QLatin1String("noversion")) {
            initDatabase(path);
            if (kind == QLatin1String("case"))
                gl_sqlite3db.execDML(QStringLiteral("update tbl_version set name='varno'"));
            if (kind == QLatin1String("emptyversion"))
                gl_sqlite3db.execDML(QStringLiteral("delete from tbl_version"));
            if (kind == QLatin1String("noversion"))
                gl_sqlite3db.execDML(QStringLiteral("drop table tbl_version"));
            gl_sqlite3db.close();
        } else if (kind == QLatin1String("emptyfile") || kind == QLatin1String("text")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            if (kind == QLatin1String("text"))
                f.write("this is not a database, just some text\n");
        }
        QCOMPARE(isLegalFormat(path), legal);
        if (kind == QLatin1String("missing"))
            QVERIFY(QFile::exists(path));
    }
};

VARNO_TEST_MAIN(TestDatabase)
#include "tst_database.moc"
