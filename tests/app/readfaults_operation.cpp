// Sweep actions of room operation and the 3-D view: device reports and their log,
// the pages that poll and switch what they read, and the 3-D placements.

#include "readfaults.h"

#include "simframe.h"

#include "app/pagefactory.h"
#include "bus/broadcastsocket.h"
#include "operation/acitem.h"
#include "operation/climateloader.h"
#include "operation/floorheatitem.h"
#include "operation/lightitem.h"
#include "operation/lightloader.h"
#include "operation/occupationmasteritem.h"
#include "operation/pagedeviceoperate.h"
#include "operation/pageroomoperate.h"
#include "operation/pageroomoperatelighting.h"
#include "shell/filedialogs.h"
#include "shell/iconselectdlg.h"
#include "shell/iconstyledlg.h"
#include "shell/sliderctrl.h"
#include "store/cppsqlite3db.h"
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

namespace readfaults {

namespace {

using faultsweep::Action;
using faultsweep::Run;
using Step = std::function<void(MyDialog &page, Run &run)>;

// Room 7 "Room 101" (North, 1F), rooms 8 and 9, and the rows given.
std::function<void()> rooms(const QStringList &rows)
{
    return [rows] {
        for (const QString &sql :
             QStringList{
                 "insert into tbl_region(region_name,region_id) values('North',1)",
                 "insert into tbl_floor(floor_name,floor_id,region_id) values('1F',1,1)",
                 "insert into tbl_room(room_name,room_id,floor_id,region_id) values('Room 101',7,1,1),"
                 "('Room 102',8,1,1),('Store',9,1,1)"} +
                 rows)
            QVERIFY2(gl_sqlite3db.execDML(sql), qPrintable(sql));
    };
}

QString light(int id, int room, int type, int device, int rgb)
{
    return QString::asprintf(
        "insert into tbl_light(light_id,light_type,light_remark,subnet_id,device_id,channel,"
        "icon_name_of_light_on,icon_name_of_light_off,brightness,rgb,room_id) values("
        "%d,%d,'Lamp',1,%d,%d,'light_01_on','light_01_off',0,%d,%d)",
        id, type, device, rgb ? rgb : 1, rgb, room);
}

QString unit(int no, int type, int device, int mode = 0)
{
    return QString::asprintf(
        "insert into tbl_air_conditioner(air_conditioner_no,air_conditioner_type,remark,"
        "subnet_id,device_id,channel,mode,current_temperature,current_cool_temperature,"
        "room_temperature,room_id) values(%d,%d,'Unit',1,%d,1,%d,22,24,21,7)",
        no, type, device, mode);
}

QString logged(const char *event, int hour)
{
    return QString::asprintf(
        "insert into tbl_log(log_type,log_address,log_device,log_event,log_time) values(0,"
        "'North-1F-Room 101','light_Lamp','status is %s','2026-01-01 %02d:00:00')",
        event, hour);
}

QString place(const char *table, const char *key, int id)
{
    return QString::asprintf("insert into %s(%s,xp1,yp1,room_id) values(%d,9,9,7)", table, key, id);
}

const QStringList Occupied = {
    "insert into tbl_occupation(subnet_id,device_id,channel,status,room_id) values(1,60,1,0,7)",
    "insert into tbl_master(subnet_id,device_id,channel,status,room_id) values(1,61,1,0,7)"};
// Room 7's light and room 8's "RGB" light of four channel rows.
const QStringList Lights = QStringList{light(7, 7, 0, 20, 0), light(8, 8, 2, 21, 1), light(8, 8, 2, 21, 2),
                                       light(8, 8, 2, 21, 3), light(8, 8, 2, 21, 4)} +
                           Occupied;
const QStringList Climate = {unit(0, 0, 40), unit(1, 1, 45, 2), unit(2, 0, 50)};
// Only the floor heating has its place on the 3-D picture yet.
const QStringList Placed = {light(1, 7, 0, 20, 0), unit(0, 0, 40), unit(2, 0, 50),
                            place("tbl_3d_air_conditioner", "air_conditioner_no", 2),
                            "insert into tbl_3d_view_manager(icon_name,room_id) values('3d_view_01',7)"};
const QStringList AllPlaced = Placed + QStringList{place("tbl_3d_view_light", "light_id", 1),
                                                   place("tbl_3d_air_conditioner", "air_conditioner_no", 0)};

// Starts the action, with kept device writes tried again at once.
void start(Run &run)
{
    setKeptWriteRetryInterval(1);
    run.start();
}

// The run ends once what the devices reported is stored (a failed commit of the
// batch keeps its writes for the close).
void settle()
{
    Run::waitUntil([] { return keptDeviceWrites() == 0; });
    gl_sqlite3db.flushBatch();
    setKeptWriteRetryInterval(1000);
}

// Frames from devices 1/<device> with their code and payload (hex), handed to
// every card as the hub does.
void hand(Run &run, const QList<std::tuple<int, int, const char *>> &frames)
{
    start(run);
    for (const auto &[device, code, payload] : frames) {
        QByteArray f = SimFrame::build(QByteArray::fromHex("7f000002"), 1, quint8(device), 0x0258,
                                       quint16(code), 1, 254, QByteArray::fromHex(payload));
        emit gl_socket.dataIsComming(reinterpret_cast<quint8 *>(f.data()), f.size());
    }
    settle();
}

// Reports are never refused: every run ends whole. The card is in the 3-D view,
// so it takes frames unseen.
Action reports(const QString &name, const QStringList &rows, std::function<void(Run &)> script)
{
    return Action{QStringLiteral("operation"), name, rooms(rows), std::move(script), nullptr, 0, true};
}

template <typename Card, typename Records>
std::function<void(Run &)> card(Records (*load)(int, bool *),
                                QList<std::tuple<int, int, const char *>> frames)
{
    return [load, frames](Run &run) {
        Card item(load(7, nullptr).value(0), true);
        hand(run, frames);
    };
}

// The log where a repeated event may be logged twice: the events in order with
// repeats taken as one; the table itself leaves the dump.
QString logOfChanges()
{
    QStringList events;
    QSqlQuery rows = gl_sqlite3db.execQuery("select log_event from tbl_log order by log_time,id");
    while (rows.next())
        if (events.value(events.size() - 1) != rows.value(0).toString())
            events << rows.value(0).toString();
    rows.finish();
    gl_sqlite3db.execDML("delete from tbl_log");
    return events.join('\n');
}

// An action on a page, shown and entered for room 7 (before the action begins,
// or as its first step); no device answers and the cards' timers stand still.
Action onPage(const QString &name, const QStringList &rows, const QString &pageId, Step step,
              bool enterFirst = false)
{
    const auto script = [pageId, step, enterFirst](Run &run) {
        DeviceItem::setIntervalScale(1000);
        std::unique_ptr<MyDialog> page(createPage(pageId, pageId));
        page->resize(1920, 1000);
        page->show();
        if (enterFirst)
            emit gl_socket.signalsPageEnter("7", "1");
        start(run);
        if (!enterFirst)
            emit gl_socket.signalsPageEnter("7", "1");
        step(*page, run);
        for (ACItem *item : page->findChildren<ACItem *>())
            Run::waitUntil([item] { return item->pendingIrFrames() == 0; });
        settle();
        DeviceItem::setIntervalScale(1);
    };
    // The refresh header's stamp is judged by the refresh control's own row.
    return Action{QStringLiteral("operation"), name, rooms(rows), script, nullptr, 0, false,
                  {QStringLiteral("tbl_last_update")}};
}

void press(QWidget *widget)
{
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
}

PageSetting3DViewManagerEdit &editor(MyDialog &page)
{
    return static_cast<PageSetting3DViewManagerEdit &>(page);
}

// The editor's picture change: a built-in picture (style 0) or a photo (1).
Step changePicture(int style)
{
    return [style](MyDialog &page, Run &run) {
        static QTemporaryDir files;
        QImage photo(32, 24, QImage::Format_RGB32);
        photo.fill(Qt::darkGreen);
        photo.save(files.filePath("garden.png"));
        answerFileDialogsWith(
            [](FileDialogKind, const QString &, const QString &) { return files.filePath("garden.png"); });
        run.answerModalsWith([style](QWidget *dialog) {
            if (auto *source = qobject_cast<IconStyleDlg *>(dialog))
                source->slotsIconStyleChanged(style);
            if (auto *picker = qobject_cast<IconSelectDlg *>(dialog))
                picker->slotsIconEdit("3d_view_03");
            return qobject_cast<IconStyleDlg *>(dialog) || qobject_cast<IconSelectDlg *>(dialog);
        });
        press(editor(page).changeImageLabel());
        answerFileDialogsWith(nullptr);
    };
}

} // namespace

QList<faultsweep::Action> operationActions()
{
    const auto lamp = card<LightItem>(loadRoomLights, {{20, 0xEFFE, "56312e32"}, {20, 0x0034, "0164"}});
    Action again = reports("a light reports the state it logged last",
                           {light(1, 7, 0, 20, 0), logged("off", 8), logged("on", 9)}, lamp);
    // A failed read of the newest event logs it again (a second row is better than
    // a missed one): the log is judged by its changes.
    again.observe = logOfChanges;
    const Step allOn = [](MyDialog &page, Run &) {
        press(static_cast<PageDeviceOperate &>(page).switchLabel());
    };
    const Step none = [](MyDialog &, Run &) {};
    const QString edit = QStringLiteral("3D View Setting");
    return {
        reports("a light reports on after off", {light(1, 7, 0, 20, 0), logged("on", 8), logged("off", 9)},
                lamp),
        again,
        reports("an air conditioner's panel reports", {unit(0, 0, 40)},
                card<ACItem>(loadRoomAirConditioners, {{40, 0xEFFE, "4143"},
                                                       {40, 0xE121, "00"},
                                                       {40, 0x1901, "101e111e121e000000"},
                                                       {40, 0xE0ED, "01171200161500181900"}})),
        reports("an infrared air conditioner reports its room temperature", {unit(0, 1, 45)},
                card<ACItem>(loadRoomAirConditioners, {{45, 0xE3E8, "0013"}})),
        reports("an infrared air conditioner switched on", {unit(0, 1, 45, 2)},
                [](Run &run) {
                    ACItem item(loadRoomAirConditioners(7).value(0), false);
                    item.show();
                    start(run);
                    emit gl_socket.signalsACStatus(1);
                    Run::waitUntil([&item] { return item.pendingIrFrames() == 0; });
                    settle();
                }),
        reports("an infrared air conditioner's set point changed", {unit(0, 1, 45)},
                [](Run &run) {
                    DeviceItem::setIntervalScale(0.01);
                    ACItem item(loadRoomAirConditioners(7).value(0), false);
                    item.show();
                    Run::waitUntil([&item] { return !item.isFirstDisplayPending(); });
                    start(run);
                    item.setPointSlider()->setValue(27);
                    settle();
                    DeviceItem::setIntervalScale(1);
                }),
        reports("floor heating reports", {unit(2, 0, 50)},
                card<FloorHeatItem>(loadRoomFloorHeating, {{50, 0xEFFE, "4648"},
                                                           {50, 0xA13F, "f805230000"},
                                                           {50, 0x1945, "0014010116171819"},
                                                           {50, 0xE3D9, "181a"}})),
        reports("the occupation sensor and the master switch report", Occupied,
                [](Run &run) {
                    OccupationMasterItem item(36, 36);
                    item.setOccupationMaster(loadOccupationMaster(7));
                    item.show();
                    hand(run, {{60, 0x012D, "f8010000"}, {61, 0x0034, "0100"}, {61, 0x0032, "01f864"}});
                }),
        onPage("the room page: entering polls, all on switches", Lights, "Operate Room",
               [](MyDialog &page, Run &) {
                   press(static_cast<PageRoomOperate &>(page).lightingTab()->switchLabel());
               }),
        onPage("the Lighting page: entering polls, all on switches", Lights, "Lighting", allOn),
        onPage("the AC page: entering polls, all on switches", Climate, "AC", allOn),
        onPage("the Floor Heat page: entering polls, all on switches", Climate, "Floor Heat", allOn),
        onPage("the 3D View page lists the rooms", Lights, "3D View", none),
        onPage("the 3D View Manager page lists the rooms", Lights, "3D View Manager", none),
        onPage("the room's 3-D page: entering places and polls the lights", Lights, "Operate Room 3D View",
               none),
        onPage("the 3-D editor: entering places the devices", Placed, edit, none),
        onPage(
            "the 3-D editor: a light dropped", AllPlaced, edit,
            [](MyDialog &page, Run &) { press(editor(page).lightingCanvas()); }, true),
        onPage(
            "the 3-D editor: an air conditioner dropped", AllPlaced, edit,
            [](MyDialog &page, Run &) {
                editor(page).tabBar()->setCurrentIndex(1);
                press(editor(page).acCanvas());
            },
            true),
        onPage("the 3-D editor: a built-in picture chosen", AllPlaced, edit, changePicture(0), true),
        onPage("the 3-D editor: a photo chosen", AllPlaced, edit, changePicture(1), true),
        Action{"operation", "a climate 3-D overlay places its units", rooms(Placed),
               [](Run &run) {
                   AC3DViewItem overlay(nullptr);
                   start(run);
                   overlay.updatelist(7);
               },
               nullptr, 0, false},
    };
}

} // namespace readfaults
