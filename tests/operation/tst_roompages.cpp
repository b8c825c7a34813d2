// The room block, the room device tabs, the room operation page and the device
// operation pages, on a project database filled with SQL. Replies reach the cards
// through the hub as the transport hands them over; devices that never answer
// give up quickly through the cards' clock seam. No bus is opened.

#include "testmain.h"

#include "roomproject.h"

#include "shell/pictures.h"
#include "bus/broadcastsocket.h"
#include "operation/acitem.h"
#include "operation/floorheatitem.h"
#include "operation/lightitem.h"
#include "operation/occupationmasteritem.h"
#include "operation/pagedeviceoperateac.h"
#include "operation/pagedeviceoperatefloorheat.h"
#include "operation/pagedeviceoperatelighting.h"
#include "operation/pageroomoperate.h"
#include "operation/pageroomoperateac.h"
#include "operation/pageroomoperatefloorheat.h"
#include "operation/pageroomoperatelighting.h"
#include "operation/roomitem.h"
#include "shell/refreshingctrl.h"
#include "simframe.h"
#include "store/projectlist.h"

#include <QElapsedTimer>
#include <QGridLayout>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <qtmaterialgroupbox.h>
#include <qtmateriallabel.h>
#include <qtmaterialtabs.h>

#include <memory>

using namespace roomproject;

namespace {

// Room ids of the project: North (region 1) holds rooms 12 and 3 on floor "Ground",
// South (region 2) room 5 on floor "Top".
constexpr int Hall = 12;
constexpr int Study = 3;
constexpr int Attic = 5;

// Cards give up after ten unanswered ticks of 10 ms.
constexpr double FastClock = 0.01;

void clearDevices()
{
    for (const char *table :
         {"tbl_light", "tbl_air_conditioner", "tbl_occupation", "tbl_master", "tbl_mood", "tbl_last_update"})
        exec(QStringLiteral("delete from %1").arg(QLatin1String(table)));
}

void addLights(int room, int count, int device = 20)
{
    for (int i = 1; i <= count; ++i) {
        Light l;
        l.room = room;
        l.lightId = i;
        l.name = QStringLiteral("Lamp%1-%2").arg(room).arg(i);
        l.device = device;
        l.channel = i;
        addLight(l);
    }
}

QByteArray frameFrom(quint8 subnet, quint8 device, quint16 code, const QByteArray &payload)
{
    return SimFrame::build(QByteArray::fromHex("7f000002"), subnet, device, 0x0258, code, 1, 254, payload);
}

// Lets as many poll ticks of the cards' (scaled) clock pass as a card that still
// polled would need to give up, however slowly a busy machine lets them come.
bool waitPastGivingUp()
{
    QTimer tick;
    int ticks = 0;
    QObject::connect(&tick, &QTimer::timeout, [&ticks] { ++ticks; });
    tick.start(DeviceItem::scaledInterval(DeviceItem::PollInterval));
    return QTest::qWaitFor([&ticks] { return ticks > DeviceItem::MaxTries + 2; }, 60000);
}

void deliver(QByteArray frame)
{
    emit gl_socket.dataIsComming(reinterpret_cast<quint8 *>(frame.data()), frame.size());
}

// Texts of the hub's user messages that end in "lost connection".
QStringList lostConnections(const QSignalSpy &spy)
{
    QStringList out;
    for (const QList<QVariant> &args : spy) {
        const QString text = args.at(0).toString();
        if (text.endsWith(QLatin1String("lost connection")))
            out.append(text);
    }
    out.sort();
    return out;
}

QPoint gridPosition(QGridLayout *grid, QWidget *widget)
{
    int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
    const int index = grid->indexOf(widget);
    if (index >= 0)
        grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    return QPoint(column, row);
}

QStringList tabTexts(QtMaterialTabs *tabs)
{
    QStringList out;
    for (int i = 0; i < tabs->count(); ++i)
        out.append(tabs->tabText(i));
    return out;
}

void pressSwitch(QtMaterialLabel *label)
{
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(10, 10));
}

bool showsPicture(QLabel *label, const QImage &picture)
{
    const QImage shown = label->pixmap(Qt::ReturnByValue).toImage();
    return !shown.isNull() && shown == picture.convertToFormat(shown.format());
}

} // namespace

class TestRoomPages : public QObject
{
    Q_OBJECT

    QTemporaryDir m_app;

private slots:
    void initTestCase()
    {
        QVERIFY(m_app.isValid());
        gl_curPath = m_app.path();
        preInitProject();
        gl_socket.setId(1, 254);
        addRegion(1, QStringLiteral("North"));
        addRegion(2, QStringLiteral("South"));
        addFloor(1, 1, QStringLiteral("Ground"));
        addFloor(2, 1, QStringLiteral("Top"));
        addRoom(Attic, QStringLiteral("Attic"), 2, 1, QStringLiteral("room_9"));
        addRoom(Hall, QStringLiteral("Bob's hall"), 1, 1, QStringLiteral("room_5"));
        addRoom(Study, QStringLiteral("Study"), 1, 1, QStringLiteral("room_2.jpg"));
        screen_cx = 1920;
        screen_cy = 1080;
    }
    void init()
    {
        clearDevices();
        screen_cx = 1920;
        DeviceItem::setIntervalScale(1.0);
    }
    void cleanup() { DeviceItem::setIntervalScale(1.0); }
    void cleanupTestCase() { gl_sqlite3db.close(); }

    // ---- the room block ----

    void blockGrid_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("cards");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<int>("stretchColumn");
        QTest::addColumn<int>("stretchRow");
        QTest::addColumn<int>("height");
        QTest::newRow("none") << 1920 << 0 << 3 << 105 << 3 << 0 << 400;
        QTest::newRow("two") << 1920 << 2 << 3 << 105 << 2 << 1 << 400;
        QTest::newRow("one full row") << 1920 << 3 << 3 << 105 << 3 << 1 << 400;
        QTest::newRow("two rows") << 1920 << 4 << 3 << 105 << 3 << 2 << 740;
        QTest::newRow("three rows") << 1920 << 7 << 3 << 105 << 3 << 3 << 1080;
        QTest::newRow("exact multiple") << 1500 << 2 << 2 << 166 << 2 << 1 << 400;
        QTest::newRow("2000 wide") << 2000 << 1 << 3 << 125 << 1 << 1 << 400;
        QTest::newRow("1000 wide") << 1000 << 2 << 1 << 250 << 1 << 2 << 740;
        QTest::newRow("narrow screen keeps one column") << 400 << 2 << 1 << 0 << 1 << 2 << 740;
    }
    void blockGrid()
    {
        QFETCH(int, width);
        QFETCH(int, cards);
        QFETCH(int, columns);
        QFETCH(int, spacing);
        QFETCH(int, stretchColumn);
        QFETCH(int, stretchRow);
        QFETCH(int, height);
        screen_cx = width;
        addLights(Hall, cards);
        RoomItem room(Hall, RoomItem::KindLights);
        QGridLayout *grid = room.cardGrid();
        QCOMPARE(room.cards().size(), cards);
        QCOMPARE(grid->horizontalSpacing(), spacing);
        QCOMPARE(grid->verticalSpacing(), 20);
        QCOMPARE(grid->columnStretch(stretchColumn), 1);
        QCOMPARE(grid->rowStretch(stretchRow), 1);
        for (int c = 0; c < grid->columnCount(); ++c)
            QCOMPARE(grid->columnStretch(c), c == stretchColumn ? 1 : 0);
        for (int i = 0; i < cards; ++i)
            QCOMPARE(gridPosition(grid, room.cards().at(i)), QPoint(i % columns, i / columns));
        QCOMPARE(room.height(), height);
        QCOMPARE(room.cardBox()->layout(), grid);
    }

    void blockContents()
    {
        // Lights: one without address gets no card, extra channel rows are no lights.
        addLights(Hall, 2);
        Light noAddress;
        noAddress.room = Hall;
        noAddress.lightId = 7;
        noAddress.subnet = 0;
        addLight(noAddress);
        Light dt8;
        dt8.room = Hall;
        dt8.lightId = 8;
        dt8.type = 8;
        dt8.brightness = 60 * 256 + 20;
        addLight(dt8);
        Light colour;
        colour.room = Hall;
        colour.lightId = 9;
        colour.type = 2;
        colour.rgb = 1;
        addLight(colour);
        colour.rgb = 2;
        colour.subnet = 0; // a further set is read whatever its address
        colour.channel = 5;
        addLight(colour);

        Unit ir;
        ir.room = Hall;
        ir.no = 1;
        ir.type = 1;
        ir.cool = 31;
        addUnit(ir);
        Unit panel;
        panel.room = Hall;
        panel.no = 0;
        panel.name = QStringLiteral("Bob's AC");
        addUnit(panel);
        Unit heat;
        heat.room = Hall;
        heat.no = 2;
        addUnit(heat);
        addRoomDevice(QStringLiteral("tbl_occupation"), Hall, 1, 30, 2, 2);

        RoomItem lights(Hall, RoomItem::KindLights);
        QCOMPARE(lights.titleText(), QStringLiteral("North-Ground-Bob's hall"));
        QList<int> ids;
        for (DeviceItem *card : lights.cards())
            ids.append(qobject_cast<LightItem *>(card)->getLight().light_id);
        QCOMPARE(ids, (QList<int>{1, 2, 8, 9}));
        const light dt8Rec = qobject_cast<LightItem *>(lights.cards().at(2))->getLight();
        QCOMPARE(dt8Rec.brightness[0], 60);
        QCOMPARE(dt8Rec.brightness[1], 20);
        const light colourRec = qobject_cast<LightItem *>(lights.cards().at(3))->getLight();
        QCOMPARE(colourRec.channel[1], 5);
        QCOMPARE(colourRec.subnet_id[1], 0);
        QCOMPARE(colourRec.rgb[2], 0);
        QCOMPARE(lights.occupationMaster()->getOccupationMaster().occupation_device_id, quint8(30));
        QCOMPARE(lights.occupationMaster()->getOccupationMaster().occupation_status, quint8(2));

        RoomItem acs(Hall, RoomItem::KindAirConditioners);
        QCOMPARE(acs.cards().size(), 2);
        const airConditioner first = qobject_cast<ACItem *>(acs.cards().at(0))->getAirConditioner();
        const airConditioner second = qobject_cast<ACItem *>(acs.cards().at(1))->getAirConditioner();
        QCOMPARE(QString::fromUtf8(first.remark), QStringLiteral("Bob's AC"));
        QCOMPARE(QString::fromUtf8(first.high_limit), QStringLiteral("60-60-60"));
        QCOMPARE(second.current_cool_temperature, 26);
        QCOMPARE(QString::fromUtf8(second.low_limit), QStringLiteral("17-17-17"));

        RoomItem heating(Hall, RoomItem::KindFloorHeating);
        QCOMPARE(heating.cards().size(), 1);
        QVERIFY(qobject_cast<FloorHeatItem *>(heating.cards().at(0)));
        QCOMPARE(QString::fromUtf8(
                     qobject_cast<FloorHeatItem *>(heating.cards().at(0))->getAirConditioner().high_limit),
                 QStringLiteral("60"));

        // Moods and unknown kinds show no device card; their refresh is the
        // occupation and master item's alone.
        for (int kind : {int(RoomItem::KindMoods), 9}) {
            RoomItem none(Hall, kind);
            QVERIFY(none.cards().isEmpty());
            QCOMPARE(none.cardGrid()->rowStretch(0), 1);
        }

        // A missing room: three empty names, no picture.
        RoomItem missing(99, RoomItem::KindLights);
        QCOMPARE(missing.titleText(), QStringLiteral("--"));
        QVERIFY(missing.picturePath().isEmpty() || !QFile::exists(missing.picturePath()));
    }

    void blockPicture_data()
    {
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("path");
        QTest::newRow("built-in") << "room_5"
                                  << ":/myImages/jpg/room/room_5.jpg";
        QTest::newRow("built-in with suffix") << "room_2.jpg"
                                              << ":/myImages/jpg/room/room_2.jpg";
        QTest::newRow("project photo") << "photo_Room_3"
                                       << "photo";
        QTest::newRow("missing photo") << "photo_Room_4"
                                       << "";
    }
    void blockPicture()
    {
        QFETCH(QString, icon);
        QFETCH(QString, path);
        QString project;
        QVERIFY(getCurrentProject(project));
        const QString folder = projectFolder(project);
        QImage photo(40, 20, QImage::Format_RGB32);
        photo.fill(QColor(200, 10, 10));
        QVERIFY(photo.save(folder + QStringLiteral("/photo_Room_3.png")));
        exec(QStringLiteral("update tbl_room set icon_name='%1' where room_id=%2")
                 .arg(sqlText(icon))
                 .arg(Study));

        RoomItem room(Study, RoomItem::KindLights);
        room.resize(600, 400);
        if (path == QLatin1String("photo"))
            path = folder + QStringLiteral("/photo_Room_3.png");
        QCOMPARE(room.picturePath(), path);

        // The picture shows in the block's margin, and not beyond its rounded corners.
        exec(QStringLiteral("update tbl_room set icon_name='' where room_id=%1").arg(Study));
        RoomItem plain(Study, RoomItem::KindLights);
        plain.resize(600, 400);
        room.grab(); // a user's picture is decoded by a worker first
        QTRY_COMPARE(Pictures::instance().pending(), 0);
        const QImage shot = room.grab().toImage();
        const QImage plainShot = plain.grab().toImage();
        QCOMPARE(shot.pixelColor(0, 0), plainShot.pixelColor(0, 0));
        if (path.isEmpty())
            QCOMPARE(shot.pixelColor(300, 4), plainShot.pixelColor(300, 4));
        else if (icon.startsWith(QLatin1String("photo")))
            QCOMPARE(shot.pixelColor(300, 4), QColor(200, 10, 10));
        else
            QVERIFY(shot.pixelColor(300, 4) != plainShot.pixelColor(300, 4));
    }

    void blockRefreshWaitsForEveryItem()
    {
        addLights(Hall, 1);
        Light second;
        second.room = Hall;
        second.lightId = 2;
        second.name = QStringLiteral("Lamp12-2");
        second.device = 21;
        addLight(second);
        addRoomDevice(QStringLiteral("tbl_occupation"), Hall, 1, 30, 1);
        DeviceItem::setIntervalScale(FastClock);
        RoomItem room(Hall, RoomItem::KindLights);
        room.resize(1920, 400);
        room.show();
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);

        room.getStatus(0);
        QVERIFY(!room.isRefreshPending());
        // The first light answers at once: firmware, then its level.
        deliver(frameFrom(1, 20, 0xEFFE, "FW"));
        deliver(frameFrom(1, 20, 0x0034, QByteArray::fromHex("02 2a 00")));
        QVERIFY(room.cards().at(0)->status());
        QVERIFY(!room.cards().at(1)->status());
        QVERIFY(!room.status());
        // The second light and the occupation sensor never answer: the block is
        // done when both have given up.
        QTRY_VERIFY_WITH_TIMEOUT(room.cards().at(1)->status(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(room.status(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(
            lostConnections(info),
            (QStringList{"Lamp12-2 lost connection", "occupation(1-30) lost connection"}), 10000);
    }

    void blockStartDelay()
    {
        addLights(Hall, 1);
        DeviceItem::setIntervalScale(FastClock);
        RoomItem room(Hall, RoomItem::KindLights);
        room.show();
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
        // 30000 ms on the fast clock: 300 ms, then ten ticks of 10 ms. Timers fire
        // late, never much early (a coarse one a little): the card cannot give up
        // before the delay and its ten ticks have passed.
        QElapsedTimer clock;
        clock.start();
        qint64 gaveUp = -1;
        QObject probe;
        connect(&gl_socket, &BroadcastSocket::signalsInformation, &probe,
                [&](const QString &) { gaveUp = gaveUp < 0 ? clock.elapsed() : gaveUp; });
        room.getStatus(30000);
        QVERIFY(room.isRefreshPending());
        QVERIFY(!room.status());
        QTRY_VERIFY_WITH_TIMEOUT(room.status(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(lostConnections(info), QStringList{"Lamp12-1 lost connection"}, 10000);
        QVERIFY2(gaveUp >= 270 + 90, qPrintable(QString::number(gaveUp)));
        // A stop through the hub during a pending start: the start still comes.
        info.clear();
        room.getStatus(-5);
        QVERIFY(!room.isRefreshPending());
        QVERIFY(!room.status());
        QTRY_VERIFY_WITH_TIMEOUT(room.status(), 10000);
    }

    // ---- the room device tabs ----

    void tabRefillReplacesCards()
    {
        addLights(Hall, 4);
        addLights(Study, 1, 21);
        PageRoomOperateLighting tab;
        tab.updatelist(Hall);
        QGridLayout *grid = tab.cardGrid();
        QCOMPARE(tab.cards().size(), 4);
        QCOMPARE(grid->columnStretch(3), 1);
        QCOMPARE(grid->rowStretch(2), 1);
        QList<QPointer<DeviceItem>> old;
        for (DeviceItem *card : tab.cards())
            old.append(card);

        tab.updatelist(Study);
        for (const QPointer<DeviceItem> &card : old)
            QVERIFY(card.isNull());
        QCOMPARE(tab.cards().size(), 1);
        QCOMPARE(tab.cardBox()->findChildren<LightItem *>().size(), 1);
        QCOMPARE(gridPosition(grid, tab.cards().at(0)), QPoint(0, 0));
        // No stretch of the larger fill is left.
        QCOMPARE(grid->rowStretch(2), 0);
        QCOMPARE(grid->columnStretch(3), 0);
        QCOMPARE(grid->rowStretch(1), 1);
        QCOMPARE(grid->columnStretch(1), 1);
        QCOMPARE(tab.getRoomId(), Study);
    }

    void tabRefreshForgetsRemovedCards()
    {
        addLights(Hall, 3);
        DeviceItem::setIntervalScale(FastClock);
        PageRoomOperateLighting tab;
        tab.resize(1920, 1000);
        tab.show();
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
        tab.updatelist(Hall);
        tab.startRefresh();
        // The room changes while the first room's cards poll: they are gone, and
        // the empty room's refresh ends at the first check.
        tab.updatelist(Attic);
        tab.startRefresh();
        QTRY_VERIFY(!tab.isChecking());
        QCOMPARE(tab.refreshControl()->statusText(), QStringLiteral("Refresh Successfully"));
        QVERIFY(waitPastGivingUp());
        QVERIFY(lostConnections(info).isEmpty());
        QVERIFY(!tab.isChecking());
    }

    void tabRefreshWaitsForOccupationMaster()
    {
        addRoomDevice(QStringLiteral("tbl_master"), Attic, 1, 31, 4);
        DeviceItem::setIntervalScale(FastClock);
        PageRoomOperateAC tab;
        tab.show();
        tab.updatelist(Attic);
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
        // The tab has no cards: only the master switch keeps its refresh going.
        // Looked at on every turn of the event loop, the refresh never shows as
        // done while the master is not.
        int early = 0;
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            if (tab.refreshControl()->statusText() == QLatin1String("Refresh Successfully") &&
                !tab.occupationMaster()->status())
                ++early;
        });
        probe.start(0);
        tab.startRefresh();
        QVERIFY(tab.refreshControl()->isVisible());
        QTRY_COMPARE(tab.refreshControl()->statusText(), QStringLiteral("Refresh Successfully"));
        // The master counts as done after its tenth frame; it says so at the
        // next tick, which may come after the refresh has ended.
        QTRY_COMPARE(lostConnections(info), QStringList{"master(1-31) lost connection"});
        QCOMPARE(early, 0);
        QVERIFY(tab.occupationMaster()->isMasterShown());
        QVERIFY(!tab.occupationMaster()->isOccupationShown());
    }

    void tabCheckStopsWhenHidden()
    {
        addLights(Hall, 1);
        PageRoomOperateLighting tab;
        tab.show();
        tab.updatelist(Hall);
        tab.startRefresh();
        QVERIFY(tab.isChecking());
        emit gl_socket.signalsStopRefresh(false);
        tab.hide();
        QTRY_VERIFY(!tab.isChecking());
        QVERIFY(!tab.refreshControl()->isVisible());
    }

    void tabSwitchAndKey_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<int>("on");
        QTest::newRow("lighting") << 0 << "12_lighting"
                                  << "Refresh All Ligths Information" << 100;
        QTest::newRow("ac") << 1 << "12_airConditioner"
                            << "Refresh All ACs Information" << 1;
        QTest::newRow("floor heat") << 2 << "12_floorHeating"
                                    << "Refresh All FHs Information" << 1;
    }
    void tabSwitchAndKey()
    {
        QFETCH(int, which);
        QFETCH(QString, key);
        QFETCH(QString, tooltip);
        QFETCH(int, on);
        std::unique_ptr<PageRoomOperateDevices> tab;
        if (which == 0)
            tab = std::make_unique<PageRoomOperateLighting>();
        else if (which == 1)
            tab = std::make_unique<PageRoomOperateAC>();
        else
            tab = std::make_unique<PageRoomOperateFloorHeat>();
        tab->show();
        tab->updatelist(Hall);
        QCOMPARE(tab->refreshLabel()->toolTip(), tooltip);

        QSignalSpy lights(&gl_socket, &BroadcastSocket::signalsLightStatus);
        QSignalSpy climate(&gl_socket, &BroadcastSocket::signalsACStatus);
        QSignalSpy &spy = which == 0 ? lights : climate;
        const QImage offPicture = QImage(QStringLiteral(":/myImages/png/icon_checkbox_off.png"));
        const QImage onPicture = QImage(QStringLiteral(":/myImages/png/icon_checkbox_on.png"));
        QVERIFY(showsPicture(tab->switchLabel(), offPicture));
        pressSwitch(tab->switchLabel());
        pressSwitch(tab->switchLabel());
        pressSwitch(tab->switchLabel());
        QCOMPARE(spy.count(), 3);
        QCOMPARE(spy.at(0).at(0).toInt(), on);
        QCOMPARE(spy.at(1).at(0).toInt(), 0);
        QCOMPARE(spy.at(2).at(0).toInt(), on);
        QCOMPARE(tab->getAllStatus(), on);
        QVERIFY(showsPicture(tab->switchLabel(), onPicture));
        QCOMPARE((which == 0 ? climate : lights).count(), 0);
        // A refill resets the switch: the next press sends all on again.
        tab->updatelist(Hall);
        QCOMPARE(tab->getAllStatus(), 0);
        pressSwitch(tab->switchLabel());
        QCOMPARE(spy.last().at(0).toInt(), on);

        // Refreshing records the time under the room's key.
        tab->startRefresh();
        QCOMPARE(
            value(QStringLiteral("select count(*) from tbl_last_update where last_update_id='%1'").arg(key))
                .toInt(),
            1);
        pressSwitch(tab->refreshLabel());
        QCOMPARE(value(QStringLiteral("select count(*) from tbl_last_update")).toInt(), 1);
    }

    // ---- the room operation page ----

    void pageTabs_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("tabs");
        QTest::newRow("lights") << QStringList{"light"} << QStringList{"Lighting"};
        QTest::newRow("air conditioners only") << QStringList{"ac"} << QStringList{"AC"};
        QTest::newRow("floor heating only") << QStringList{"fh"} << QStringList{"Floor Heat"};
        QTest::newRow("everything") << QStringList{"fh", "ac", "light"}
                                    << QStringList{"Lighting", "AC", "Floor Heat"};
        QTest::newRow("lights without address, further sets")
            << QStringList{"light-no-subnet", "light-no-device", "light-rgb2", "fh"}
            << QStringList{"Floor Heat"};
        QTest::newRow("nothing") << QStringList{} << QStringList{};
        QTest::newRow("moods only") << QStringList{"mood"} << QStringList{};
    }
    void pageTabs()
    {
        QFETCH(QStringList, rows);
        QFETCH(QStringList, tabs);
        for (const QString &row : rows) {
            if (row == QLatin1String("mood")) {
                exec(QStringLiteral("insert into tbl_mood(mood_id,mood_name,room_id) values(1,'Relax',%1)")
                         .arg(Hall));
            } else if (row == QLatin1String("ac") || row == QLatin1String("fh")) {
                Unit u;
                u.room = Hall;
                u.no = row == QLatin1String("ac") ? 1 : 3;
                addUnit(u);
            } else {
                Light l;
                l.room = Hall;
                if (row == QLatin1String("light-no-subnet"))
                    l.subnet = 0;
                if (row == QLatin1String("light-no-device"))
                    l.device = 0;
                if (row == QLatin1String("light-rgb2")) {
                    l.rgb = 2;
                    l.type = 2;
                }
                addLight(l);
            }
        }
        PageRoomOperate page(QStringLiteral("Operate Room"), QStringLiteral("North-Ground-Bob's hall"));
        page.resize(1920, 1000);
        page.show();
        QSignalSpy stops(&gl_socket, &BroadcastSocket::signalsStopRefresh);
        emit gl_socket.signalsPageEnter(QString::number(Hall), QStringLiteral("1"));
        QCOMPARE(page.getRoomId(), Hall);
        QCOMPARE(tabTexts(page.tabBar()), tabs);
        QCOMPARE(page.tabBar()->isVisible(), !tabs.isEmpty());
        const QMap<QString, QWidget *> widgets{
            {"Lighting", page.lightingTab()}, {"AC", page.acTab()}, {"Floor Heat", page.floorHeatTab()}};
        for (auto it = widgets.begin(); it != widgets.end(); ++it)
            QCOMPARE(it.value()->isVisible(), !tabs.isEmpty() && it.key() == tabs.first());
        if (!tabs.isEmpty()) {
            QCOMPARE(page.tabBar()->currentIndex(), 0);
            QCOMPARE(stops.count(), 1);
        }
    }

    void pageResetZeroKeepsThePage()
    {
        addLights(Hall, 2);
        Unit u;
        u.room = Hall;
        addUnit(u);
        addLights(Study, 1, 21);
        DeviceItem::setIntervalScale(FastClock);
        PageRoomOperate page(QStringLiteral("Operate Room"), QStringLiteral("x"));
        page.show();
        emit gl_socket.signalsPageEnter(QString::number(Hall), QStringLiteral("1"));
        page.tabBar()->setCurrentIndex(1);
        QVERIFY(page.acTab()->isVisible());
        const QList<DeviceItem *> lightCards = page.lightingTab()->cards();

        // Back: the main window stops every card, then enters with "0".
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
        emit gl_socket.signalsStopRefresh(false);
        emit gl_socket.signalsPageEnter(QString::number(Study), QStringLiteral("0"));
        QCOMPARE(page.getRoomId(), Study);
        QCOMPARE(tabTexts(page.tabBar()), (QStringList{"Lighting", "AC"}));
        QCOMPARE(page.tabBar()->currentIndex(), 1);
        QVERIFY(page.acTab()->isVisible());
        QVERIFY(!page.lightingTab()->isVisible());
        QCOMPARE(page.lightingTab()->cards(), lightCards);
        QVERIFY(page.tabBar()->isVisible());
        // Nothing polls: no card ever gives up.
        QVERIFY(waitPastGivingUp());
        QVERIFY(lostConnections(info).isEmpty());

        // A hidden page ignores entries altogether.
        page.hide();
        emit gl_socket.signalsPageEnter(QString::number(Attic), QStringLiteral("1"));
        QCOMPARE(page.getRoomId(), Study);
        QCOMPARE(page.tabBar()->count(), 2);
        // Not a number: room 0, which has nothing.
        page.show();
        emit gl_socket.signalsPageEnter(QStringLiteral("abc"), QStringLiteral("1"));
        QCOMPARE(page.getRoomId(), 0);
        QCOMPARE(page.tabBar()->count(), 0);
        QVERIFY(!page.tabBar()->isVisible());
        QVERIFY(!page.lightingTab()->isVisible() && !page.acTab()->isVisible());
    }

    void pageTabChangeStopsBeforeStarting()
    {
        addLights(Hall, 2);
        Unit u;
        u.room = Hall;
        u.name = QStringLiteral("Hall AC");
        addUnit(u);
        DeviceItem::setIntervalScale(FastClock);
        PageRoomOperate page(QStringLiteral("Operate Room"), QStringLiteral("x"));
        page.show();

        QStringList order;
        QObject probe;
        connect(&gl_socket, &BroadcastSocket::signalsStopRefresh, &probe,
                [&order] { order.append(QStringLiteral("stop")); });
        connect(&gl_socket, &BroadcastSocket::signalsInformation, &probe,
                [&order](const QString &text) { order.append(text); });
        emit gl_socket.signalsPageEnter(QString::number(Hall), QStringLiteral("1"));
        QVERIFY(page.lightingTab()->refreshControl()->isVisible());
        // Straight to the air conditioners: the lights are stopped first and never
        // report; only the unit shown polls.
        page.tabBar()->setCurrentIndex(1);
        QVERIFY(!page.lightingTab()->refreshControl()->isVisible());
        QVERIFY(page.acTab()->refreshControl()->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(page.acTab()->refreshControl()->statusText(),
                                  QStringLiteral("Refresh Successfully"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(order, (QStringList{"stop", "stop", "Hall AC lost connection"}), 10000);

        // Choosing the shown tab again restarts it.
        order.clear();
        page.tabBar()->setCurrentIndex(1);
        QTRY_COMPARE_WITH_TIMEOUT(order, (QStringList{"stop", "Hall AC lost connection"}), 10000);
    }

    // ---- the device operation pages ----

    void devicePageRooms_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QList<int>>("rooms");
        QTest::newRow("lighting") << 0 << QList<int>{Study, Hall};
        QTest::newRow("ac") << 1 << QList<int>{Hall, Attic};
        QTest::newRow("floor heat") << 2 << QList<int>{Study, Attic};
    }
    void devicePageRooms()
    {
        QFETCH(int, which);
        QFETCH(QList<int>, rooms);
        addLights(Hall, 2);
        addLights(Study, 1, 21);
        Light unaddressed;
        unaddressed.room = Attic;
        unaddressed.device = 0;
        addLight(unaddressed);
        for (int room : {Hall, Attic}) {
            Unit u;
            u.room = room;
            addUnit(u);
        }
        for (int room : {Study, Attic}) {
            Unit u;
            u.room = room;
            u.no = 2;
            addUnit(u);
        }
        std::unique_ptr<PageDeviceOperate> page;
        if (which == 0)
            page = std::make_unique<PageDeviceOperateLighting>(QStringLiteral("Lighting"),
                                                               QStringLiteral("Lighting"));
        else if (which == 1)
            page = std::make_unique<PageDeviceOperateAC>(QStringLiteral("AC"), QStringLiteral("AC"));
        else
            page = std::make_unique<PageDeviceOperateFloorHeat>(QStringLiteral("Floor Heat"),
                                                                QStringLiteral("Floor Heat"));
        page->updatelist();
        QList<int> shown;
        for (int k = 0; k < page->roomItems().size(); ++k) {
            RoomItem *room = page->roomItems().at(k);
            shown.append(room->getRoomId());
            QCOMPARE(room->getKind(), which);
            QCOMPARE(gridPosition(page->roomGrid(), room), QPoint(0, k));
        }
        QCOMPARE(shown, rooms);
        QCOMPARE(page->roomGrid()->rowStretch(rooms.size()), 1);
    }

    void devicePageEntryRefillAndSwitch()
    {
        addLights(Hall, 1);
        addLights(Study, 1, 21);
        addLights(Attic, 1, 22);
        DeviceItem::setIntervalScale(FastClock);
        PageDeviceOperateLighting page(QStringLiteral("Lighting"), QStringLiteral("Lighting"));
        QSignalSpy lights(&gl_socket, &BroadcastSocket::signalsLightStatus);

        // Hidden: entries do nothing.
        emit gl_socket.signalsPageEnter(QString(), QString());
        QVERIFY(page.roomItems().isEmpty());
        page.show();
        emit gl_socket.signalsPageEnter(QString(), QString());
        QCOMPARE(page.roomItems().size(), 3);
        QVERIFY(page.refreshControl()->isVisible());
        QCOMPARE(value(QStringLiteral(
                           "select count(*) from tbl_last_update where last_update_id='all_lightings'"))
                     .toInt(),
                 1);
        pressSwitch(page.switchLabel());
        pressSwitch(page.switchLabel());
        QCOMPARE(lights.count(), 2);
        QCOMPARE(lights.at(0).at(0).toInt(), 100);
        QCOMPARE(lights.at(1).at(0).toInt(), 0);
        pressSwitch(page.switchLabel());
        QCOMPARE(page.getAllStatus(), 100);

        // Re-entry with fewer rooms: the old blocks and their cards are gone, the
        // row stretch of the longer list is reset, the switch stands at off.
        QList<QPointer<RoomItem>> old;
        for (RoomItem *room : page.roomItems())
            old.append(room);
        QPointer<DeviceItem> oldCard = page.roomItems().at(0)->cards().at(0);
        exec(QStringLiteral("delete from tbl_light where room_id=%1").arg(Attic));
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
        emit gl_socket.signalsStopRefresh(false);
        emit gl_socket.signalsPageEnter(QString(), QString());
        for (const QPointer<RoomItem> &room : old)
            QVERIFY(room.isNull());
        QVERIFY(oldCard.isNull());
        QCOMPARE(page.roomItems().size(), 2);
        QCOMPARE(page.roomGrid()->rowStretch(3), 0);
        QCOMPARE(page.roomGrid()->rowStretch(2), 1);
        QCOMPARE(page.getAllStatus(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(page.refreshControl()->statusText(),
                                  QStringLiteral("Refresh Successfully"), 10000);
        const QStringList lost{"Lamp12-1 lost connection", "Lamp3-1 lost connection"};
        QTRY_COMPARE_WITH_TIMEOUT(lostConnections(info), lost, 10000);
    }

    void devicePageWithoutRoomsEndsAtOnce_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("lighting") << 0;
        QTest::newRow("ac") << 1;
        QTest::newRow("floor heat") << 2;
    }
    void devicePageWithoutRoomsEndsAtOnce()
    {
        QFETCH(int, which);
        std::unique_ptr<PageDeviceOperate> page;
        if (which == 0)
            page = std::make_unique<PageDeviceOperateLighting>(QStringLiteral("Lighting"),
                                                               QStringLiteral("Lighting"));
        else if (which == 1)
            page = std::make_unique<PageDeviceOperateAC>(QStringLiteral("AC"), QStringLiteral("AC"));
        else
            page = std::make_unique<PageDeviceOperateFloorHeat>(QStringLiteral("Floor Heat"),
                                                                QStringLiteral("Floor Heat"));
        page->show();
        QSignalSpy climate(&gl_socket, &BroadcastSocket::signalsACStatus);
        emit gl_socket.signalsPageEnter(QString(), QString());
        QVERIFY(page->roomItems().isEmpty());
        QCOMPARE(page->roomGrid()->rowStretch(0), 1);
        QTRY_COMPARE_WITH_TIMEOUT(page->refreshControl()->statusText(),
                                  QStringLiteral("Refresh Successfully"), 10000);
        pressSwitch(page->switchLabel());
        QCOMPARE(climate.count(), which == 0 ? 0 : 1);
        if (which != 0)
            QCOMPARE(climate.at(0).at(0).toInt(), 1);
    }
};

VARNO_TEST_MAIN(TestRoomPages)
#include "tst_roompages.moc"
