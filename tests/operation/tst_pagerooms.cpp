// The rooms page: one tile per room, ordered by region, floor and room, in the
// grid of the screen width; a pressed tile opens the room's operation page.

#include "testmain.h"

#include "bus/broadcastsocket.h"
#include "operation/pagerooms.h"
#include "shell/manageritem.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/projectlist.h"

#include <QDir>
#include <QGridLayout>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <qtmaterialgroupbox.h>

namespace {

void addRooms(int count)
{
    gl_sqlite3db.execDML(QStringLiteral("delete from tbl_room"));
    for (int i = count; i >= 1; --i) {
        // Inserted backwards and spread over two regions: the page sorts them.
        const int region = i > count / 2 ? 1 : 2;
        gl_sqlite3db.execDML(
            QStringLiteral("insert into tbl_room(room_name,icon_name,room_id,floor_id,region_id) "
                           "values('R%1','room_%1',%1,1,%2)")
                .arg(i)
                .arg(region));
    }
}

} // namespace

class TestPageRooms : public QObject
{
    Q_OBJECT

    QTemporaryDir m_app;

private slots:
    void initTestCase()
    {
        gl_curPath = m_app.path();
        preInitProject();
        gl_sqlite3db.execDML(
            QStringLiteral("insert into tbl_region(region_name,region_id) values('North',1)"));
        gl_sqlite3db.execDML(
            QStringLiteral("insert into tbl_region(region_name,region_id) values('South',2)"));
        gl_sqlite3db.execDML(
            QStringLiteral("insert into tbl_floor(floor_name,floor_id,region_id) values('G',1,1)"));
    }
    void cleanupTestCase() { gl_sqlite3db.close(); }

    void grid_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("rooms");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<int>("stretchColumn");
        QTest::addColumn<int>("stretchRow");
        QTest::newRow("1920, none") << 1920 << 0 << 6 << 17 << 6 << 0;
        QTest::newRow("1920, one row") << 1920 << 6 << 6 << 17 << 6 << 1;
        QTest::newRow("1920, seven") << 1920 << 7 << 6 << 17 << 6 << 2;
        QTest::newRow("1920, three") << 1920 << 3 << 6 << 17 << 3 << 1;
        QTest::newRow("1366") << 1366 << 5 << 4 << 33 << 4 << 2;
        QTest::newRow("1280") << 1280 << 5 << 4 << 16 << 4 << 2;
        QTest::newRow("narrow screen") << 200 << 3 << 1 << 0 << 1 << 3;
    }
    void grid()
    {
        QFETCH(int, width);
        QFETCH(int, rooms);
        QFETCH(int, columns);
        QFETCH(int, spacing);
        QFETCH(int, stretchColumn);
        QFETCH(int, stretchRow);
        screen_cx = width;
        addRooms(rooms);
        PageRooms page(QStringLiteral("Rooms"), QStringLiteral("Rooms"));
        page.updatelist();
        auto *grid = qobject_cast<QGridLayout *>(page.tileBox()->layout());
        QVERIFY(grid);
        QCOMPARE(grid->horizontalSpacing(), spacing);
        QCOMPARE(grid->verticalSpacing(), 20);
        QCOMPARE(grid->columnStretch(stretchColumn), 1);
        QCOMPARE(grid->rowStretch(stretchRow), 1);
        QList<ManagerItem *> tiles = page.tileBox()->findChildren<ManagerItem *>();
        QCOMPARE(tiles.size(), rooms);
        for (ManagerItem *tile : tiles) {
            int row = 0, column = 0, rs = 0, cs = 0;
            grid->getItemPosition(grid->indexOf(tile), &row, &column, &rs, &cs);
            QVERIFY(column < columns);
            QCOMPARE(tile->size(), QSize(300, 160));
            QCOMPARE(tile->getType(), 2);
        }
    }

    void orderAndRefill()
    {
        screen_cx = 1920;
        addRooms(7);
        PageRooms page(QStringLiteral("Rooms"), QStringLiteral("Rooms"));
        page.updatelist();
        auto *grid = qobject_cast<QGridLayout *>(page.tileBox()->layout());
        // Region 1 holds rooms 4..7, region 2 rooms 1..3.
        QStringList order;
        for (int i = 0; i < 7; ++i) {
            auto *tile = qobject_cast<ManagerItem *>(
                grid->itemAtPosition(i / 6, i % 6) ? grid->itemAtPosition(i / 6, i % 6)->widget() : nullptr);
            QVERIFY(tile);
            order << QString::number(tile->getId());
        }
        QCOMPARE(order, (QStringList{"4", "5", "6", "7", "1", "2", "3"}));
        // A refill with fewer rooms leaves no tile and no stretch of the earlier fill.
        addRooms(2);
        page.updatelist();
        QCOMPARE(page.tileBox()->findChildren<ManagerItem *>().size(), 2);
        QCOMPARE(grid->rowStretch(2), 0);
        QCOMPARE(grid->columnStretch(6), 0);
        QCOMPARE(grid->columnStretch(2), 1);
        QCOMPARE(grid->rowStretch(1), 1);
    }

    void pressOpensTheRoom()
    {
        screen_cx = 1920;
        addRooms(4);
        gl_sqlite3db.execDML(QStringLiteral("update tbl_room set room_name='Bob''s room' where room_id=3"));
        PageRooms page(QStringLiteral("Rooms"), QStringLiteral("Rooms"));
        page.updatelist();
        QSignalSpy requests(&gl_socket, &BroadcastSocket::signalsPageIdChanged);
        for (ManagerItem *tile : page.tileBox()->findChildren<ManagerItem *>()) {
            if (tile->getId() == 3)
                emit tile->signalsEdit(2, 3);
        }
        QCOMPARE(requests.count(), 1);
        QCOMPARE(requests.at(0), (QList<QVariant>{"Operate Room", "North-G-Bob's room", "3", "1"}));
        // Another kind, and a room deleted since, open nothing.
        QMetaObject::invokeMethod(&page, "slotsEdit", Q_ARG(int, 1), Q_ARG(int, 3));
        QMetaObject::invokeMethod(&page, "slotsEdit", Q_ARG(int, 2), Q_ARG(int, 99));
        QCOMPARE(requests.count(), 1);
    }

    void entersOnlyWhileVisible()
    {
        screen_cx = 1920;
        addRooms(3);
        PageRooms page(QStringLiteral("Rooms"), QStringLiteral("Rooms"));
        emit gl_socket.signalsPageEnter(QString(), QString());
        QCOMPARE(page.tileBox()->findChildren<ManagerItem *>().size(), 0);
        page.show();
        emit gl_socket.signalsPageEnter(QString(), QString());
        QCOMPARE(page.tileBox()->findChildren<ManagerItem *>().size(), 3);
        page.resize(1920, 1000);
        QTest::qWait(20);
        const QImage shot = page.grab().toImage();
        QDir().mkpath(QStringLiteral(VARNO_SCREENSHOT_DIR));
        shot.save(QStringLiteral(VARNO_SCREENSHOT_DIR "/rooms_page.png"));
        QCOMPARE(shot.pixelColor(1900, 900), QColor(0x26, 0x34, 0x40));
    }
};

VARNO_TEST_MAIN(TestPageRooms)
#include "tst_pagerooms.moc"
