// The home page: its band of room tiles, the two small tiles, the four large tiles,
// the grid arithmetic at several screen widths and the room request on the hub.

#include "testmain.h"
#include "presswatch.h"

#include "bus/broadcastsocket.h"
#include "shell/homemanager3dviewiconitem.h"
#include "shell/homemanageritem.h"
#include "shell/homemanagerroomsiconitem.h"
#include "shell/manageritem.h"
#include "shell/pagehome.h"
#include "shell/settingitem.h"
#include "shell/tilegrid.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/queryhelpers.h"

#include <QDate>
#include <QDir>
#include <QGridLayout>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <qtmaterialgroupbox.h>

namespace {

void exec(const QString &sql)
{
    QVERIFY2(gl_sqlite3db.execDML(sql), qPrintable(sql));
}

void addRoom(int roomId, const QString &name, int floorId, int regionId, const QString &icon)
{
    exec(QStringLiteral(
             "insert into tbl_room(room_name,icon_name,room_id,floor_id,region_id,room_template_id) "
             "values('%1','%2',%3,%4,%5,0)")
             .arg(sqlText(name), sqlText(icon))
             .arg(roomId)
             .arg(floorId)
             .arg(regionId));
}

void flushDeletions()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The room tiles of the band in grid order, as "name@row,column".
QStringList roomTiles(HomeManagerItem *band)
{
    QGridLayout *grid = band->roomsGrid();
    QMap<QPair<int, int>, QString> byPlace;
    for (int i = 0; grid && i < grid->count(); ++i) {
        auto *tile = qobject_cast<ManagerItem *>(grid->itemAt(i)->widget());
        if (!tile)
            continue;
        int row, column, rowSpan, columnSpan;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        byPlace.insert({row, column}, QStringLiteral("%1@%2,%3").arg(tile->getName()).arg(row).arg(column));
    }
    return byPlace.values();
}

QList<int> stretchedColumns(QGridLayout *grid)
{
    QList<int> result;
    for (int c = 0; c < grid->columnCount(); ++c) {
        if (grid->columnStretch(c) > 0)
            result << c;
    }
    return result;
}

QList<int> stretchedRows(QGridLayout *grid)
{
    QList<int> result;
    for (int r = 0; r < grid->rowCount(); ++r) {
        if (grid->rowStretch(r) > 0)
            result << r;
    }
    return result;
}

} // namespace

class TestHomePage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    void resetRooms(int count)
    {
        exec(QStringLiteral("delete from tbl_room"));
        for (int i = 1; i <= count; ++i)
            addRoom(100 + i, QString::number(100 + i), 1, 1, QStringLiteral("room_%1").arg(i));
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(pictures);
        QVERIFY(m_dir.isValid());
        gl_curPath = m_dir.path();
        preInitProject();
        exec(QStringLiteral("insert into tbl_region(region_name,region_id) values('North',1)"));
        exec(QStringLiteral("insert into tbl_region(region_name,region_id) values('South',2)"));
        exec(QStringLiteral("insert into tbl_floor(floor_name,floor_id,region_id) values('1F',1,1)"));
        exec(QStringLiteral("insert into tbl_floor(floor_name,floor_id,region_id) values('2F',2,1)"));
        exec(QStringLiteral("insert into tbl_floor(floor_name,floor_id,region_id) values('GF',1,2)"));
    }

    void cleanupTestCase() { gl_sqlite3db.close(); }

    void init()
    {
        screen_cx = 1920;
        screen_cy = 1080;
    }

    void gridArithmetic_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("roomColumns");
        QTest::addColumn<int>("roomSpacing");
        QTest::addColumn<int>("tileColumns");
        QTest::addColumn<int>("tileSpacing");
        QTest::newRow("1920") << 1920 << 5 << 48 << 9 << 19;
        QTest::newRow("1280") << 1280 << 3 << 63 << 6 << 18;
        QTest::newRow("429") << 429 << 1 << 0 << 2 << 15;
        QTest::newRow("428: narrower than a room tile") << 428 << 1 << 0 << 2 << 14;
        QTest::newRow("193") << 193 << 1 << 0 << 1 << 0;
        QTest::newRow("100: narrower than any tile") << 100 << 1 << 0 << 1 << 0;
        QTest::newRow("0") << 0 << 1 << 0 << 1 << 0;
    }
    void gridArithmetic()
    {
        QFETCH(int, width);
        QFETCH(int, roomColumns);
        QFETCH(int, roomSpacing);
        QFETCH(int, tileColumns);
        QFETCH(int, tileSpacing);
        QCOMPARE(tileGridColumns(width, 128, 300), roomColumns);
        QCOMPARE(tileGridColumns(width, 0, 192), tileColumns);
        screen_cx = width;
        resetRooms(roomColumns + 1); // always one tile on a second row
        PageHome page(QStringLiteral("Home"), QStringLiteral("Home"));
        QGridLayout *tiles = page.largeTileGrid();
        QCOMPARE(tiles->horizontalSpacing(), tileSpacing);
        QCOMPARE(tiles->verticalSpacing(), 20);
        int row, column, rs, cs;
        tiles->getItemPosition(tiles->indexOf(tiles->itemAt(3)->widget()), &row, &column, &rs, &cs);
        QCOMPARE(row, 3 / tileColumns);
        QCOMPARE(column, 3 % tileColumns);

        HomeManagerItem *band = page.managerItem();
        band->updatelist();
        QGridLayout *rooms = band->roomsGrid();
        QVERIFY(rooms);
        QCOMPARE(rooms->horizontalSpacing(), roomSpacing);
        QCOMPARE(rooms->verticalSpacing(), 20);
        const QStringList placed = roomTiles(band);
        QCOMPARE(placed.size(), roomColumns + 1);
        QVERIFY2(placed.last().endsWith(QStringLiteral("@1,0")), qPrintable(placed.last()));
        QCOMPARE(stretchedColumns(rooms), QList<int>({roomColumns}));
        QCOMPARE(stretchedRows(rooms), QList<int>({2}));
    }

    void largeTiles()
    {
        PageHome page(QStringLiteral("Home"), QStringLiteral("Home"));
        QCOMPARE(page.objectName(), QStringLiteral("PageHome"));
        QGridLayout *grid = page.largeTileGrid();
        QCOMPARE(grid->count(), 4);
        const QStringList titles = {"Lighting", "AC", "Floor Heat", "Moods"};
        const QStringList pictures = {"lighting", "ac", "floorheat", "moods"};
        for (int i = 0; i < 4; ++i) {
            auto *tile = qobject_cast<SettingItem *>(grid->itemAt(i)->widget());
            QVERIFY(tile);
            QCOMPARE(tile->getTitle(), titles.at(i));
            QCOMPARE(tile->getImagePath(),
                     QStringLiteral(":/myImages/png/edit_room/icon-room-%1.png").arg(pictures.at(i)));
            QCOMPARE(tile->size(), QSize(192, 192));
            int row, column, rs, cs;
            grid->getItemPosition(i, &row, &column, &rs, &cs);
            QCOMPARE(QPoint(column, row), QPoint(i, 0));
        }
        QCOMPARE(stretchedColumns(grid), QList<int>({4}));
        QCOMPARE(stretchedRows(grid), QList<int>({1}));
    }

    void smallTiles()
    {
        HomeManagerItem band;
        QCOMPARE(band.height(), 300);
        auto *view = band.findChild<HomeManager3DViewIconItem *>();
        auto *rooms = band.findChild<HomeManagerRoomsIconItem *>();
        QVERIFY(view && rooms);
        QCOMPARE(view->size(), QSize(128, 128));
        QCOMPARE(view->getCurrentColor(), QColor(0x3D, 0x53, 0x66));
        QVERIFY(!QImage(HomeManager3DViewIconItem::picture()).isNull());
        QVERIFY(!QImage(HomeManagerRoomsIconItem::picture()).isNull());

        QSignalSpy asked(&gl_socket, &BroadcastSocket::signalsPageIdChanged);
        QTest::mouseClick(rooms, Qt::LeftButton, Qt::NoModifier, QPoint(64, 64));
        QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(64, 64));
        QCOMPARE(asked.count(), 2);
        QCOMPARE(asked.at(0), QVariantList({"Rooms", "Rooms", QString(), QString()}));
        QCOMPARE(asked.at(1), QVariantList({"3D View", "3D View", QString(), QString()}));
    }

    void roomsInOrderWithDisplayNames()
    {
        exec(QStringLiteral("delete from tbl_room"));
        addRoom(9, QStringLiteral("GF-1"), 1, 2, QStringLiteral("room_3"));
        addRoom(7, QStringLiteral("101"), 1, 1, QStringLiteral("room_1"));
        addRoom(3, QStringLiteral("Bob's room"), 2, 1, QStringLiteral("room_2.jpg"));
        addRoom(2, QStringLiteral("100"), 1, 1, QStringLiteral("room_4"));
        addRoom(8, QStringLiteral("Lost"), 1, 5, QStringLiteral("room_5")); // region row missing

        HomeManagerItem band;
        emit gl_socket.signalsProjectStateChanged(QStringLiteral("Home"));
        QCOMPARE(roomTiles(&band),
                 QStringList({"North-1F-100@0,0", "North-1F-101@0,1", "North-2F-Bob's room@0,2",
                              "South-GF-GF-1@0,3", "--Lost@0,4"}));
        // Exactly one full row: the stretch goes to the column after the last tile.
        QCOMPARE(stretchedColumns(band.roomsGrid()), QList<int>({5}));
        QCOMPARE(stretchedRows(band.roomsGrid()), QList<int>({1}));

        const auto tiles = band.roomsBox()->findChildren<ManagerItem *>();
        QCOMPARE(tiles.size(), 5);
        for (ManagerItem *tile : tiles) {
            QCOMPARE(tile->getType(), 2);
            QVERIFY(!tile->isEdit());
            QVERIFY(tile->carriesMessages());
            QCOMPARE(tile->size(), QSize(300, 160));
        }
    }

    void noRooms()
    {
        exec(QStringLiteral("delete from tbl_room"));
        HomeManagerItem band;
        band.updatelist();
        QVERIFY(roomTiles(&band).isEmpty());
        QCOMPARE(stretchedColumns(band.roomsGrid()), QList<int>({5}));
        QCOMPARE(stretchedRows(band.roomsGrid()), QList<int>({0}));
    }

    void refillWithFewerTilesResetsStretch()
    {
        resetRooms(7);
        HomeManagerItem band;
        band.updatelist();
        QCOMPARE(stretchedColumns(band.roomsGrid()), QList<int>({5}));
        QCOMPARE(stretchedRows(band.roomsGrid()), QList<int>({2}));

        exec(QStringLiteral("delete from tbl_room where room_id>103"));
        band.updatelist();
        flushDeletions();
        QCOMPARE(roomTiles(&band).size(), 3);
        QCOMPARE(band.roomsBox()->findChildren<ManagerItem *>().size(), 3);
        QCOMPARE(stretchedColumns(band.roomsGrid()), QList<int>({3}));
        QCOMPARE(stretchedRows(band.roomsGrid()), QList<int>({1}));

        exec(QStringLiteral("delete from tbl_room"));
        band.updatelist();
        QCOMPARE(stretchedColumns(band.roomsGrid()), QList<int>({5}));
        QCOMPARE(stretchedRows(band.roomsGrid()), QList<int>({0}));
    }

    void roomTileAsksForTheRoomPage()
    {
        exec(QStringLiteral("delete from tbl_room"));
        addRoom(7, QStringLiteral("101"), 1, 1, QStringLiteral("room_1"));
        // Region 9's row was deleted; its floor row is still there.
        exec(QStringLiteral("delete from tbl_floor where region_id=9"));
        exec(QStringLiteral("insert into tbl_floor(floor_name,floor_id,region_id) values('1F',1,9)"));
        addRoom(4, QStringLiteral("101"), 1, 9, QStringLiteral("room_1"));
        HomeManagerItem band;
        band.resize(1920, 300);
        band.updatelist();
        band.show();
        QVERIFY(QTest::qWaitForWindowExposed(&band));
        QSignalSpy asked(&gl_socket, &BroadcastSocket::signalsPageIdChanged);
        const auto tiles = band.roomsBox()->findChildren<ManagerItem *>();
        // The tiles sit in a kinetic scroll area, which holds a press back for a moment.
        for (ManagerItem *tile : tiles) {
            varnotest::PressWatch press(tile);
            QTest::mousePress(tile, Qt::LeftButton, Qt::NoModifier, QPoint(150, 80));
            QTRY_VERIFY(press.reached());
            QTest::mouseRelease(tile, Qt::LeftButton, Qt::NoModifier, QPoint(150, 80));
        }
        QCOMPARE(asked.count(), 2);
        QSet<QString> requests;
        for (const QVariantList &args : asked) {
            QStringList texts;
            for (const QVariant &v : args)
                texts << v.toString();
            requests << texts.join(QLatin1Char('|'));
        }
        QCOMPARE(requests, QSet<QString>({"Operate Room|North-1F-101|7|1", "Operate Room|-1F-101|4|1"}));
    }

    void roomRequestIgnoresOthers_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("id");
        QTest::newRow("not a room tile") << 1 << 7;
        QTest::newRow("room gone") << 2 << 70;
    }
    void roomRequestIgnoresOthers()
    {
        QFETCH(int, type);
        QFETCH(int, id);
        exec(QStringLiteral("delete from tbl_room"));
        addRoom(7, QStringLiteral("101"), 1, 1, QStringLiteral("room_1"));
        HomeManagerItem band;
        QSignalSpy asked(&gl_socket, &BroadcastSocket::signalsPageIdChanged);
        band.slotsEdit(type, id);
        QCOMPARE(asked.count(), 0);
    }

    void entryRefillsOnlyWhileVisible()
    {
        resetRooms(2);
        PageHome page(QStringLiteral("Home"), QStringLiteral("Home"));
        emit gl_socket.signalsProjectStateChanged(QStringLiteral("Home"));
        QCOMPARE(roomTiles(page.managerItem()).size(), 2);

        resetRooms(3);
        emit gl_socket.signalsPageEnter(QString(), QString());
        QCOMPARE(roomTiles(page.managerItem()).size(), 2); // hidden: nothing happens

        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        emit gl_socket.signalsPageEnter(QString(), QString());
        QCOMPARE(roomTiles(page.managerItem()).size(), 3);

        exec(QStringLiteral("delete from tbl_room where room_id=102"));
        emit gl_socket.signalsPageEnter(QString(), QString());
        flushDeletions();
        QCOMPARE(roomTiles(page.managerItem()), QStringList({"North-1F-101@0,0", "North-1F-103@0,1"}));
        QCOMPARE(page.managerItem()->roomsBox()->findChildren<ManagerItem *>().size(), 2);
    }

    // The strip at the bottom of a room tile shows the room's open message of
    // today: an alarm in #E35151, a service call in #ABD265, the text elided to
    // the tile's width from x = 50, so a long one runs to the tile's right edge.
    void roomTileStripShowsTheMessage()
    {
        exec(QStringLiteral("delete from tbl_room"));
        exec(QStringLiteral("delete from tbl_message_log"));
        exec(QStringLiteral("delete from tbl_message"));
        exec(QStringLiteral("insert into tbl_message(message_id,message_type,message_remark,icon_name,"
                            "universal_switch_no) values(1,1,'Emergency call','message_01',11)"));
        exec(QStringLiteral("insert into tbl_message(message_id,message_type,message_remark,icon_name,"
                            "universal_switch_no) values(2,0,'Please clean the room, change the towels and "
                            "bring fresh water and fruit','message_05',12)"));
        for (int i = 1; i <= 3; ++i)
            addRoom(i, QStringLiteral("Room %1").arg(i), 1, 1, QStringLiteral("room_%1").arg(i));
        const QString now = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        for (auto [message, room] : {std::pair<int, int>{1, 1}, {2, 2}})
            exec(QStringLiteral("insert into tbl_message_log(message_id,message_type,message_status,"
                                "panel_id,room_id,message_log_remark,recv_time) "
                                "values(%1,%2,0,1,%3,'','%4 09:00:00')")
                     .arg(message)
                     .arg(message == 1 ? 1 : 0)
                     .arg(room)
                     .arg(now));

        PageHome page(QStringLiteral("Home"), QStringLiteral("Home"));
        page.resize(1920, 1080);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        emit gl_socket.signalsPageEnter(QString(), QString());
        QHash<int, ManagerItem *> tiles;
        for (ManagerItem *tile : page.managerItem()->roomsBox()->findChildren<ManagerItem *>()) {
            tile->onPoll();
            tiles.insert(tile->getId(), tile);
        }
        QCOMPARE(tiles.size(), 3);
        // Pixels of a colour in a part of the tile's strip.
        auto count = [](ManagerItem *tile, const QColor &colour, int fromX) {
            const QImage image = tile->grab().toImage();
            int n = 0;
            for (int y = image.height() - 31; y < image.height() - 1; ++y) {
                for (int x = fromX; x < image.width(); ++x)
                    n += image.pixelColor(x, y) == colour ? 1 : 0;
            }
            return n;
        };
        const QColor alarm(0xE3, 0x51, 0x51);
        const QColor service(0xAB, 0xD2, 0x65);
        const int w = tiles.value(1)->width();
        QVERIFY(count(tiles.value(1), alarm, 50) > 10);
        QCOMPARE(count(tiles.value(1), service, 0), 0);
        QVERIFY(count(tiles.value(2), service, 50) > 10);
        QVERIFY(count(tiles.value(2), service, w - 12) > 0);
        QCOMPARE(count(tiles.value(3), alarm, 0) + count(tiles.value(3), service, 0), 0);
    }
};

VARNO_TEST_MAIN(TestHomePage)
#include "tst_homepage.moc"
