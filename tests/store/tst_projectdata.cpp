// A new project's database made from the current one, and the removal of a room.

#include "testmain.h"
#include "stepfault.h"

#include "bus/broadcastsocket.h"
#include "store/cppsqlite3db.h"
#include "store/databaseinit.h"
#include "store/globals.h"
#include "store/newproject.h"
#include "store/projectlist.h"
#include "store/queryhelpers.h"
#include "store/roomremoval.h"
#include "store/schema.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

int rows(const QString &table, const QString &where = QString())
{
    return getValueFromDb(QStringLiteral("select count(*) as n from %1 %2").arg(table, where),
                          QStringLiteral("n"));
}

void exec(const QString &sql)
{
    QVERIFY2(gl_sqlite3db.execDML(sql), qPrintable(sql));
}

void touch(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("png");
}

} // namespace

class TestProjectData : public QObject
{
    Q_OBJECT

    QScopedPointer<QTemporaryDir> m_app;
    QString m_homeDb;
    QString m_homeFolder;

    // A room with a device of every kind, two moods, a message, a panel and pictures.
    void addRoom(int room, int floor, int region, const QList<int> &moods)
    {
        exec(QStringLiteral("insert into tbl_room(room_name,room_id,floor_id,region_id,room_template_id) "
                            "values('R%1',%1,%2,%3,1)")
                 .arg(room)
                 .arg(floor)
                 .arg(region));
        for (const char *table :
             {"tbl_3d_air_conditioner", "tbl_3d_view_light", "tbl_3d_view_manager", "tbl_air_conditioner",
              "tbl_light", "tbl_message_log", "tbl_mood_air_conditioner_status", "tbl_mood_command",
              "tbl_mood_light_status", "tbl_occupation", "tbl_master", "tbl_panel"}) {
            exec(QStringLiteral("insert into %1(room_id) values(%2)").arg(QLatin1String(table)).arg(room));
        }
        for (int mood : moods) {
            exec(QStringLiteral("insert into tbl_mood(mood_id,room_id) values(%1,%2)").arg(mood).arg(room));
            touch(m_homeFolder + QStringLiteral("/photo_Mood_%1.png").arg(mood));
        }
        touch(m_homeFolder + QStringLiteral("/photo_Room_%1.png").arg(room));
        touch(m_homeFolder + QStringLiteral("/photo_3dView_%1.png").arg(room));
    }

private slots:
    void init()
    {
        gl_sqlite3db.close();
        m_app.reset(new QTemporaryDir);
        gl_curPath = m_app->path();
        gl_host_ip = QStringLiteral("10.0.0.7");
        preInitProject();
        m_homeFolder = gl_curPath + QStringLiteral("/database/Home");
        m_homeDb = m_homeFolder + QStringLiteral("/Home.db3");
        exec(QStringLiteral("insert into tbl_region(region_name,region_id) values('North',1)"));
        exec(QStringLiteral("insert into tbl_region(region_name,region_id) values('South',2)"));
        exec(QStringLiteral("insert into tbl_floor(floor_name,floor_id,region_id) values('F1',1,1)"));
        exec(QStringLiteral("insert into tbl_floor(floor_name,floor_id,region_id) values('F2',2,1)"));
        exec(QStringLiteral("insert into tbl_floor(floor_name,floor_id,region_id) values('F3',3,2)"));
        exec(QStringLiteral(
            "insert into tbl_room_template(room_template_name,room_template_id) values('T',1)"));
        exec(QStringLiteral(
            "insert into tbl_template_light(template_light_id,room_template_id) values(1,1)"));
    }
    void cleanupTestCase() { gl_sqlite3db.close(); }

    void newProjectKeepsOnlyFixedTables()
    {
        addRoom(1, 1, 1, {1, 2});
        exec(QStringLiteral("insert into tbl_log(log_type,log_time) values(0,'2026-01-01 00:00:00')"));
        exec(QStringLiteral("insert into tbl_last_update(last_update_id) values('x')"));
        exec(QStringLiteral(
            "insert into tbl_ip_port_mac(ip_port_mac,update_time) values('m','20260101000000')"));
        exec(QStringLiteral("update tbl_network set ip_port_mac='01-02-03-04-05-06-07-08',password='pw'"));

        const QString folder = gl_curPath + QStringLiteral("/database/New");
        QDir().mkdir(folder);
        const QString path = folder + QStringLiteral("/New.db3");
        touch(path); // an existing file is replaced
        gl_host_ip = QStringLiteral("10.0.0.8");
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        addDatabase(path);
        QCOMPARE(gl_sqlite3db.getDbName(), path);

        const QStringList kept = {
            "tbl_log_type",    "tbl_message_type", "tbl_message_status", "tbl_server_ip",  "tbl_domain",
            "tbl_ip_port_mac", "tbl_fnt_type",     "tbl_fnt_prm1",       "tbl_comp2_item", "tbl_comp3_item"};
        for (const TableSchema &t : projectTables()) {
            const QString name = QLatin1String(t.name);
            if (kept.contains(name))
                QVERIFY2(rows(name) > 0, t.name);
            else if (name != QLatin1String("tbl_network") && name != QLatin1String("tbl_version"))
                QVERIFY2(rows(name) == 0, t.name);
        }
        QCOMPARE(rows(QStringLiteral("tbl_ip_port_mac")), 1);
        QCOMPARE(rows(QStringLiteral("tbl_network")), 1);
        QString text;
        getTextFromDb(QStringLiteral("select * from tbl_network"), QStringLiteral("host_ip"), text);
        QCOMPARE(text, QStringLiteral("10.0.0.8"));
        getTextFromDb(QStringLiteral("select * from tbl_network"), QStringLiteral("ip_port_mac"), text);
        QCOMPARE(text, QString());
        QCOMPARE(rows(QStringLiteral("tbl_version")), 1);
        getTextFromDb(QStringLiteral("select * from tbl_version"), QStringLiteral("date"), text);
        // The day it was made: the day the row began, or the next when midnight came meanwhile.
        QVERIFY2(text == today || text == QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")),
                 qPrintable(text));
        QVERIFY(isLegalFormat(path));

        // The current project is untouched.
        gl_sqlite3db.close();
        gl_sqlite3db.setDbName(m_homeDb);
        QCOMPARE(rows(QStringLiteral("tbl_room")), 1);
        QCOMPARE(rows(QStringLiteral("tbl_log")), 1);
    }

    void newProjectWithoutSourceGetsFullSchema()
    {
        setCurrentProject(QStringLiteral("Missing"));
        const QString folder = gl_curPath + QStringLiteral("/database/New");
        QDir().mkdir(folder);
        const QString path = folder + QStringLiteral("/New.db3");
        addDatabase(path);
        QCOMPARE(gl_sqlite3db.getTableList().size(), 34);
        QCOMPARE(rows(QStringLiteral("tbl_fnt_type")), 51);
        QCOMPARE(rows(QStringLiteral("tbl_network")), 1);
        QCOMPARE(rows(QStringLiteral("tbl_version")), 1);
        QVERIFY(isLegalFormat(path));
    }

    // A seed row of the fresh schema that fails is not a new project made whole.
    void newProjectWithAFailedSeedRowIsNotMade()
    {
        setCurrentProject(QStringLiteral("Missing"));
        QDir().mkdir(gl_curPath + QStringLiteral("/database/New"));
        StepFault::arm(QStringLiteral("insert into tbl_comp3_item"), 5);
        QVERIFY(!addDatabase(gl_curPath + QStringLiteral("/database/New/New.db3")));
        StepFault::disarm();
        QVERIFY(gl_sqlite3db.getTableList().isEmpty());
    }

    void removeRoomTakesEverythingOfTheRoom_data()
    {
        QTest::addColumn<QString>("failedRead");
        QTest::newRow("every read") << QString();
    }
    void removeRoomTakesEverythingOfTheRoom()
    {
        QFETCH(QString, failedRead);
        addRoom(1, 1, 1, {11, 12, 13});
        addRoom(2, 2, 1, {21});
        QSignalSpy spy(&gl_socket, &BroadcastSocket::signalsRemoveMessage);
        StepFault::arm(failedRead, failedRead.isEmpty() ? 0 : 1);
        removeRoom(1);
        QCOMPARE(StepFault::fired(), !failedRead.isEmpty());
        StepFault::disarm();

        for (const char *table :
             {"tbl_3d_air_conditioner", "tbl_3d_view_light", "tbl_3d_view_manager", "tbl_air_conditioner",
              "tbl_light", "tbl_message_log", "tbl_mood", "tbl_mood_air_conditioner_status",
              "tbl_mood_command", "tbl_mood_light_status", "tbl_occupation", "tbl_master", "tbl_panel",
              "tbl_room"}) {
            QCOMPARE(rows(QLatin1String(table), QStringLiteral("where room_id=1")), 0);
            QCOMPARE(rows(QLatin1String(table), QStringLiteral("where room_id=2")), 1);
        }
        for (int mood : {11, 12, 13})
            QVERIFY(!QFile::exists(m_homeFolder + QStringLiteral("/photo_Mood_%1.png").arg(mood)));
        QVERIFY(QFile::exists(m_homeFolder + QStringLiteral("/photo_Mood_21.png")));
        QVERIFY(!QFile::exists(m_homeFolder + QStringLiteral("/photo_Room_1.png")));
        QVERIFY(!QFile::exists(m_homeFolder + QStringLiteral("/photo_3dView_1.png")));
        QVERIFY(QFile::exists(m_homeFolder + QStringLiteral("/photo_Room_2.png")));
        // Floor 1 had no other room and goes; region 1 still has floor 2's room.
        QCOMPARE(rows(QStringLiteral("tbl_floor"), QStringLiteral("where floor_id=1")), 0);
        QCOMPARE(rows(QStringLiteral("tbl_region"), QStringLiteral("where region_id=1")), 1);
        // The template stays.
        QCOMPARE(rows(QStringLiteral("tbl_room_template")), 1);
        QCOMPARE(rows(QStringLiteral("tbl_template_light")), 1);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 1);
        QCOMPARE(spy.at(0).at(1).toInt(), 1);
    }

    void lastRoomOfRegionTakesFloorAndRegion()
    {
        addRoom(5, 3, 2, {});
        QFile::remove(m_homeFolder + QStringLiteral("/photo_3dView_5.png")); // no 3-D picture
        removeRoom(5);
        QCOMPARE(rows(QStringLiteral("tbl_floor"), QStringLiteral("where floor_id=3")), 0);
        QCOMPARE(rows(QStringLiteral("tbl_region"), QStringLiteral("where region_id=2")), 0);
        QCOMPARE(rows(QStringLiteral("tbl_region")), 1);
    }

    // A deletion that fails (a trigger refuses it) leaves every row and picture
    // of the room, and the message lists are not told to drop it.
    void failedRemovalIsNotAnnounced()
    {
        addRoom(1, 1, 1, {11});
        QVERIFY(gl_sqlite3db.execDML(QStringLiteral("create trigger keep before delete on tbl_panel "
                                                    "begin select raise(abort,'kept'); end")));
        QSignalSpy spy(&gl_socket, &BroadcastSocket::signalsRemoveMessage);
        removeRoom(1);
        QCOMPARE(spy.count(), 0);
        QCOMPARE(rows(QStringLiteral("tbl_room"), QStringLiteral("where room_id=1")), 1);
        QCOMPARE(rows(QStringLiteral("tbl_light"), QStringLiteral("where room_id=1")), 1);
        QCOMPARE(rows(QStringLiteral("tbl_mood"), QStringLiteral("where room_id=1")), 1);
        QVERIFY(QFile::exists(m_homeFolder + QStringLiteral("/photo_Room_1.png")));
        QVERIFY(QFile::exists(m_homeFolder + QStringLiteral("/photo_Mood_11.png")));

        QVERIFY(gl_sqlite3db.execDML(QStringLiteral("drop trigger keep")));
        // Nor does a look for the region's other rooms that fails read as "none left".
        StepFault::arm(QStringLiteral("from tbl_room where region_id"), 1);
        removeRoom(1);
        StepFault::disarm();
        QCOMPARE(spy.count(), 0);
        QCOMPARE(rows(QStringLiteral("tbl_room"), QStringLiteral("where room_id=1")), 1);
        removeRoom(1);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(rows(QStringLiteral("tbl_room"), QStringLiteral("where room_id=1")), 0);
    }

    void unknownRoomStillAnnounced()
    {
        QSignalSpy spy(&gl_socket, &BroadcastSocket::signalsRemoveMessage);
        removeRoom(99);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(rows(QStringLiteral("tbl_floor")), 3);
        QCOMPARE(rows(QStringLiteral("tbl_region")), 2);
    }
};

VARNO_TEST_MAIN(TestProjectData)
#include "tst_projectdata.moc"
