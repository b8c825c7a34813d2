// Sweep actions of room operation and the 3-D view: device replies, the device log, placements.

#include "readfaults.h"

#include "roomproject.h"
#include "simframe.h"

#include "app/pagefactory.h"
#include "bus/broadcastsocket.h"
#include "operation/acitem.h"
#include "operation/climateloader.h"
#include "operation/floorheatitem.h"
#include "operation/lightitem.h"
#include "operation/lightloader.h"
#include "operation/occupationmaster.h"
#include "operation/occupationmasteritem.h"
#include "operation/pagedeviceoperate.h"
#include "operation/pageroomoperate.h"
#include "operation/pageroomoperatelighting.h"
#include "shell/filedialogs.h"
#include "shell/iconselectdlg.h"
#include "shell/iconstyledlg.h"
#include "store/devicelog.h"
#include "store/globals.h"
#include "view3d/ac3dviewitem.h"
#include "view3d/pagesetting3dviewmanagerac.h"
#include "view3d/pagesetting3dviewmanageredit.h"
#include "view3d/pagesetting3dviewmanagerlighting.h"

#include <QImage>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <qtmateriallabel.h>
#include <qtmaterialtabs.h>

#include <memory>

namespace readfaults {

namespace {

using faultsweep::Action;
using faultsweep::Run;
using namespace roomproject;

constexpr int Room = 7;
const QString Area = QStringLiteral("operation");

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// A frame of the device at 1/device to this installation (1/254).
QByteArray frameFrom(quint8 device, quint16 code, const QByteArray &payload)
{
    return SimFrame::build(QByteArray::fromHex("7f000002"), 1, device, 0x0258, code, 1, 254, payload);
}

// Hands frames to every device card as the hub does.
void hand(const QList<QByteArray> &frames)
{
    for (QByteArray frame : frames)
        emit gl_socket.dataIsComming(reinterpret_cast<quint8 *>(frame.data()), frame.size());
}

void logEarlier(const QString &device, const QString &event, const QString &time)
{
    exec(QStringLiteral("insert into tbl_log(log_type,log_address,log_device,log_event,log_time) "
                        "values(0,'North-1F-Room 101','%1','%2','%3')")
             .arg(sqlText(device), sqlText(event), time));
}

void seedRoom()
{
    addRegion(1, QStringLiteral("North"));
    addFloor(1, 1, QStringLiteral("1F"));
    addRoom(Room, QStringLiteral("Room 101"), 1, 1);
}

// What the pages and cards say through the hub is said to the user (the main
// window shows it), from the start of the action on.
void listen(Run &run)
{
    QObject::connect(&gl_socket, &BroadcastSocket::signalsInformation, &run, [&run](const QString &text) {
        if (run.started())
            run.say(text);
    });
}

// A run of received frames ends once what the devices reported is stored: the
// kept reports written, the batch committed (a failed commit keeps its writes
// for the close).
void settle()
{
    Run::waitUntil([] { return keptDeviceWrites() == 0; });
    gl_sqlite3db.flushBatch();
    setKeptWriteRetryInterval(1000);
}

// Makes the card (in the 3-D view, so it takes frames unseen), hands it the frames
// and lets the reports settle.
template<typename Card, typename Record>
void report(Run &run, const Record &record, const QList<QByteArray> &frames)
{
    setKeptWriteRetryInterval(1);
    Card card(record, true);
    listen(run);
    run.start();
    hand(frames);
    settle();
}

Action frames(const QString &name, std::function<void()> seed, std::function<void(Run &)> script)
{
    return Action{Area, name, std::move(seed), std::move(script), nullptr, 0, true};
}

// The log as judged where a repeated event may be logged twice: every device's
// events in order with repeats taken as one. The table itself then leaves the dump.
QString logOfChanges()
{
    QStringList out;
    QHash<QString, QString> newest;
    QSqlQuery rows = gl_sqlite3db.execQuery(QStringLiteral(
        "select log_type,log_address,log_device,log_event from tbl_log order by log_time,id"));
    while (rows.next()) {
        const QString key = rows.value(0).toString() + rows.value(1).toString() + rows.value(2).toString();
        if (newest.value(key) == rows.value(3).toString())
            continue;
        newest.insert(key, rows.value(3).toString());
        out << key + QLatin1Char(':') + rows.value(3).toString();
    }
    rows.finish();
    exec(QStringLiteral("delete from tbl_log"));
    return out.join(QLatin1Char('\n'));
}

void seedLamp(bool onLast)
{
    seedRoom();
    Light lamp;
    lamp.room = Room;
    lamp.type = LightOnOff;
    addLight(lamp);
    const QString on = QStringLiteral("status is on");
    const QString off = QStringLiteral("status is off");
    logEarlier(QStringLiteral("light_Lamp"), onLast ? off : on, QStringLiteral("2026-01-01 08:00:00"));
    logEarlier(QStringLiteral("light_Lamp"), onLast ? on : off, QStringLiteral("2026-01-01 09:00:00"));
}

QList<QByteArray> lampOn()
{
    return {frameFrom(20, 0xEFFE, QByteArrayLiteral("V1.2")), frameFrom(20, 0x0034, bytes({1, 100}))};
}

void seedAirConditioner()
{
    seedRoom();
    Unit ac;
    ac.room = Room;
    addUnit(ac);
    logEarlier(QStringLiteral("ac_AC"), QStringLiteral("room temperature is 21°C,status is off"),
               QStringLiteral("2026-01-01 08:00:00"));
}

void seedInfrared()
{
    seedRoom();
    Unit ac;
    ac.room = Room;
    ac.type = 1;
    ac.device = 45;
    addUnit(ac);
    // In fan mode: switching on sends two infrared frames, not four.
    exec(QStringLiteral("update tbl_air_conditioner set mode=2"));
}

void seedFloorHeatingUnit()
{
    Unit fh;
    fh.room = Room;
    fh.no = 2;
    fh.name = QStringLiteral("Floor");
    fh.device = 50;
    addUnit(fh);
}

void seedFloorHeating()
{
    seedRoom();
    seedFloorHeatingUnit();
}

void seedOccupationMaster()
{
    seedRoom();
    addRoomDevice(QStringLiteral("tbl_occupation"), Room, 1, 60, 1);
    addRoomDevice(QStringLiteral("tbl_master"), Room, 1, 61, 1);
}

// Two rooms with lights (the second an "RGB" light of four channel rows), the
// first with its occupation sensor and master switch, and a room without devices.
void seedRooms()
{
    seedRoom();
    addRoom(8, QStringLiteral("Room 102"), 1, 1);
    addRoom(9, QStringLiteral("Store"), 1, 1);
    Light lamp;
    lamp.room = Room;
    lamp.lightId = Room;
    addLight(lamp);
    for (int set = 1; set <= 4; ++set) {
        Light strip;
        strip.room = 8;
        strip.lightId = 8;
        strip.type = LightRGB;
        strip.name = QStringLiteral("Strip");
        strip.device = 21;
        strip.channel = set;
        strip.rgb = set;
        addLight(strip);
    }
    addRoomDevice(QStringLiteral("tbl_occupation"), Room, 1, 60, 1);
    addRoomDevice(QStringLiteral("tbl_master"), Room, 1, 61, 1);
}

void seedClimate()
{
    seedInfrared();
    exec(QStringLiteral("update tbl_air_conditioner set air_conditioner_no=1"));
    Unit panel;
    panel.room = Room;
    addUnit(panel);
    seedFloorHeatingUnit();
}

// The refresh header's stamp of the last refresh (tbl_last_update) is left out of
// the pages' outcome: it is stamped in the clock's text form, which the dumps do
// not mask, and it is the refresh header's own write.
QString withoutRefreshStamps()
{
    exec(QStringLiteral("delete from tbl_last_update"));
    return QString();
}

// A user's action on a page: no device answers, and the cards' timers stand still
// (the cards send only what the action sends at once).
Action onPage(const QString &name, std::function<void()> seed, const QString &pageId,
              std::function<void(MyDialog &)> before, std::function<void(MyDialog &, Run &)> action)
{
    return Action{Area, name, std::move(seed),
                  [pageId, before, action](Run &run) {
                      DeviceItem::setIntervalScale(1000);
                      setKeptWriteRetryInterval(1);
                      std::unique_ptr<MyDialog> page(createPage(pageId, pageId));
                      page->resize(1920, 1000);
                      page->show();
                      if (before)
                          before(*page);
                      listen(run);
                      run.start();
                      action(*page, run);
                      for (ACItem *card : page->findChildren<ACItem *>())
                          Run::waitUntil([card] { return card->pendingIrFrames() == 0; });
                      settle();
                      DeviceItem::setIntervalScale(1);
                  },
                  withoutRefreshStamps, 0, false};
}

void enter(const QString &room)
{
    emit gl_socket.signalsPageEnter(room, QStringLiteral("1"));
}

void press(QWidget *widget, QPoint at = QPoint(10, 10))
{
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, at);
}

// Enters a device page and switches every device on.
Action allOn(const QString &name, std::function<void()> seed, const QString &pageId)
{
    return onPage(name, std::move(seed), pageId, nullptr, [](MyDialog &page, Run &) {
        enter(QString());
        press(static_cast<PageDeviceOperate &>(page).switchLabel());
    });
}

// The editor of room 7's 3-D view with its lights, air conditioner and floor
// heating; only the floor heating has its place yet.
void seedPlacements()
{
    seedFloorHeating();
    Light lamp;
    lamp.room = Room;
    addLight(lamp);
    Unit ac;
    ac.room = Room;
    addUnit(ac);
    exec(QStringLiteral("insert into tbl_3d_air_conditioner(air_conditioner_no,xp1,yp1,room_id) "
                        "values(2,100,100,%1)")
             .arg(Room));
    exec(QStringLiteral("insert into tbl_3d_view_manager(icon_name,room_id) values('3d_view_01',%1)").arg(Room));
}

// The same with every place stored: the editor's entry stores nothing.
void seedPlaced()
{
    seedPlacements();
    exec(QStringLiteral("insert into tbl_3d_view_light(light_id,xp1,yp1,room_id) values(1,0,0,%1)").arg(Room));
    exec(QStringLiteral("insert into tbl_3d_air_conditioner(air_conditioner_no,xp1,yp1,room_id) "
                        "values(0,0,0,%1)")
             .arg(Room));
}

void dropFirstIcon(QWidget *canvas)
{
    press(canvas, QPoint(40, 40));
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
}

// The editor's picture change, answered with the source and the built-in picture
// or a photo file.
void changePicture(MyDialog &page, Run &run, int style)
{
    static QTemporaryDir files;
    const QString photo = files.filePath(QStringLiteral("garden.png"));
    if (!QFile::exists(photo))
        QImage(32, 24, QImage::Format_RGB32).save(photo);
    answerFileDialogsWith([photo](FileDialogKind, const QString &, const QString &) { return photo; });
    run.answerModalsWith([style](QWidget *dialog) {
        if (auto *source = qobject_cast<IconStyleDlg *>(dialog))
            source->slotsIconStyleChanged(style);
        else if (auto *picker = qobject_cast<IconSelectDlg *>(dialog))
            picker->slotsIconEdit(QStringLiteral("3d_view_03"));
        else
            return false;
        return true;
    });
    press(static_cast<PageSetting3DViewManagerEdit &>(page).changeImageLabel());
    answerFileDialogsWith(nullptr);
}

} // namespace

QList<faultsweep::Action> operationActions()
{
    QList<Action> actions;
    actions << frames(QStringLiteral("a light reports on after off"), [] { seedLamp(false); },
                      [](Run &run) { report<LightItem>(run, loadRoomLights(Room).value(0), lampOn()); });
    // A failed read of the newest event logs the event again: a second row is
    // better than a missed one, so the log is judged by its changes.
    Action again = frames(QStringLiteral("a light reports the state it logged last"), [] { seedLamp(true); },
                          [](Run &run) { report<LightItem>(run, loadRoomLights(Room).value(0), lampOn()); });
    again.observe = logOfChanges;
    actions << again;
    actions << frames(QStringLiteral("an air conditioner's panel reports"), seedAirConditioner, [](Run &run) {
        report<ACItem>(run, loadRoomAirConditioners(Room).value(0),
                       {frameFrom(40, 0xEFFE, QByteArrayLiteral("AC2.0")), frameFrom(40, 0xE121, bytes({0})),
                        frameFrom(40, 0x1901, bytes({16, 30, 17, 30, 18, 30, 0, 0, 0})),
                        frameFrom(40, 0xE0ED, bytes({1, 23, 0x12, 0, 22, 21, 0, 24, 25, 0}))});
    });
    actions << frames(QStringLiteral("an infrared air conditioner reports its room temperature"), seedInfrared,
                      [](Run &run) {
                          report<ACItem>(run, loadRoomAirConditioners(Room).value(0),
                                         {frameFrom(45, 0xE3E8, bytes({0, 19}))});
                      });
    actions << frames(QStringLiteral("an infrared air conditioner switched on"), seedInfrared, [](Run &run) {
        setKeptWriteRetryInterval(1);
        ACItem card(loadRoomAirConditioners(Room).value(0), false);
        card.show();
        listen(run);
        run.start();
        emit gl_socket.signalsACStatus(1);
        Run::waitUntil([&card] { return card.pendingIrFrames() == 0; });
        settle();
    });
    actions << frames(QStringLiteral("floor heating reports"), seedFloorHeating, [](Run &run) {
        report<FloorHeatItem>(run, loadRoomFloorHeating(Room).value(0),
                              {frameFrom(50, 0xEFFE, QByteArrayLiteral("FH1")),
                               frameFrom(50, 0xA13F, bytes({0xF8, 5, 35, 0, 0})),
                               frameFrom(50, 0x1945, bytes({0, 20, 1, 1, 22, 23, 24, 25})),
                               frameFrom(50, 0xE3D9, bytes({0x18, 26}))});
    });
    actions << frames(QStringLiteral("the occupation sensor and the master switch report"), seedOccupationMaster,
                      [](Run &run) {
                          setKeptWriteRetryInterval(1);
                          OccupationMasterItem item(36, 36);
                          item.setOccupationMaster(loadOccupationMaster(Room));
                          item.show();
                          listen(run);
                          run.start();
                          hand({frameFrom(60, 0x012D, bytes({0xF8, 1, 0, 0})),
                                frameFrom(61, 0x0034, bytes({1, 0})),
                                frameFrom(61, 0x0032, bytes({1, 0xF8, 100}))});
                          settle();
                      });
    actions << onPage(QStringLiteral("the room page: entering polls, all on switches"), seedRooms,
                      QStringLiteral("Operate Room"), nullptr, [](MyDialog &page, Run &) {
                          enter(QString::number(Room));
                          press(static_cast<PageRoomOperate &>(page).lightingTab()->switchLabel());
                      });
    actions << allOn(QStringLiteral("the Lighting page: entering polls, all on switches"), seedRooms,
                     QStringLiteral("Lighting"));
    actions << allOn(QStringLiteral("the AC page: entering polls, all on switches"), seedClimate,
                     QStringLiteral("AC"));
    actions << allOn(QStringLiteral("the Floor Heat page: entering polls, all on switches"), seedClimate,
                     QStringLiteral("Floor Heat"));
    for (const QString &id : {QStringLiteral("3D View"), QStringLiteral("3D View Manager")}) {
        actions << onPage(QStringLiteral("the %1 page lists the rooms").arg(id), seedRooms, id, nullptr,
                          [](MyDialog &, Run &) { enter(QString()); });
    }
    actions << onPage(QStringLiteral("the room's 3-D page: entering places and polls the lights"), seedRooms,
                      QStringLiteral("Operate Room 3D View"), nullptr,
                      [](MyDialog &, Run &) { enter(QString::number(Room)); });
    actions << onPage(QStringLiteral("the 3-D editor: entering places the devices"), seedPlacements,
                      QStringLiteral("3D View Setting"), nullptr,
                      [](MyDialog &, Run &) { enter(QString::number(Room)); });
    const auto editing = [](MyDialog &) { enter(QString::number(Room)); };
    actions << onPage(QStringLiteral("the 3-D editor: a light dropped"), seedPlaced,
                      QStringLiteral("3D View Setting"), editing, [](MyDialog &page, Run &) {
                          dropFirstIcon(static_cast<PageSetting3DViewManagerEdit &>(page).lightingCanvas());
                      });
    actions << onPage(QStringLiteral("the 3-D editor: an air conditioner dropped"), seedPlaced,
                      QStringLiteral("3D View Setting"), editing, [](MyDialog &page, Run &) {
                          auto &editor = static_cast<PageSetting3DViewManagerEdit &>(page);
                          editor.tabBar()->setCurrentIndex(1);
                          dropFirstIcon(editor.acCanvas());
                      });
    actions << onPage(QStringLiteral("the 3-D editor: a built-in picture chosen"), seedPlaced,
                      QStringLiteral("3D View Setting"), editing,
                      [](MyDialog &page, Run &run) { changePicture(page, run, 0); });
    actions << onPage(QStringLiteral("the 3-D editor: a photo chosen"), seedPlaced,
                      QStringLiteral("3D View Setting"), editing,
                      [](MyDialog &page, Run &run) { changePicture(page, run, 1); });
    actions << Action{Area, QStringLiteral("a climate 3-D overlay places its units"), seedPlacements,
                      [](Run &run) {
                          AC3DViewItem overlay(nullptr);
                          listen(run);
                          run.start();
                          overlay.updatelist(Room);
                      },
                      nullptr, 0, false};
    return actions;
}

} // namespace readfaults
