// Sweep actions of room operation and the 3-D view: device reports and their log,
// the pages that poll and switch what they read, and the 3-D placements.

#include "readfaults.h"

#include "simframe.h"

#include "operation/acitem.h"
#include "operation/climateloader.h"
#include "operation/floorheatitem.h"
#include "operation/lightitem.h"
#include "operation/lightloader.h"
#include "operation/occupationmasteritem.h"
#include "operation/pagedeviceoperate.h"
#include "operation/pageroomoperate.h"
#include "operation/pageroomoperatelighting.h"
#include "shell/sliderctrl.h"
#include "store/cppsqlite3db.h"
#include "store/devicelog.h"
#include "view3d/ac3dviewitem.h"

#include <QtTest>
#include <qtmateriallabel.h>

namespace readfaults {

namespace {

using namespace faultsweep;

// Room 7 (North, 1F) with a light and its last two events, an air conditioner on a panel and one
// by infrared (on), floor heating, the sensors, and its 3-D picture with the floor heating placed;
// room 8 with an "RGB" light of four channel rows; room 9.
const char *const Seed = R"(
insert into tbl_region(region_name,region_id) values('North',1);
insert into tbl_floor(floor_name,floor_id,region_id) values('1F',1,1);
insert into tbl_room(room_name,room_id,floor_id,region_id) values('Hall',7,1,1),('Den',8,1,1),('Lab',9,1,1);
insert into tbl_light(light_id,light_type,light_remark,subnet_id,device_id,channel,brightness,rgb,room_id)
 values(7,0,'Lamp',1,20,1,0,0,7),(8,2,'Lamp',1,21,1,0,1,8),(8,2,'Lamp',1,21,2,0,2,8),
 (8,2,'Lamp',1,21,3,0,3,8),(8,2,'Lamp',1,21,4,0,4,8);
insert into tbl_log(log_type,log_address,log_device,log_event,log_time) values
 (0,'North-1F-Hall','light_Lamp','status is on','2026-01-01 08:00:00'),
 (0,'North-1F-Hall','light_Lamp','status is off','2026-01-01 09:00:00');
insert into tbl_air_conditioner(air_conditioner_no,air_conditioner_type,remark,subnet_id,device_id,channel,
 status,mode,current_temperature,current_cool_temperature,room_temperature,room_id) values
 (0,0,'Unit',1,40,1,0,0,22,24,21,7),(1,1,'Unit',1,45,1,1,0,22,24,21,7),(2,0,'Unit',1,50,1,0,0,22,24,21,7);
insert into tbl_occupation(subnet_id,device_id,channel,status,room_id) values(1,60,1,0,7);
insert into tbl_master(subnet_id,device_id,channel,status,room_id) values(1,61,1,0,7);
insert into tbl_3d_view_manager(icon_name,room_id) values('3d_view_01',7);
insert into tbl_3d_air_conditioner(air_conditioner_no,xp1,yp1,room_id) values(2,9,9,7))";

// The action runs with the device cards' timers scaled by timerScale and kept
// device writes tried again at once; it ends once they are stored (a failed commit
// of the batch keeps its writes for the close).
Action action(const QString &name, bool mustBeWhole, double timerScale, std::function<void(Run &)> act)
{
    const auto script = [timerScale, act](Run &run) {
        DeviceItem::setIntervalScale(timerScale);
        setKeptWriteRetryInterval(1);
        act(run);
        Run::waitUntil([] { return keptDeviceWrites() == 0; });
        gl_sqlite3db.flushBatch();
        setKeptWriteRetryInterval(1000);
        DeviceItem::setIntervalScale(1);
    };
    // The refresh header's stamp is judged by the refresh control's own row.
    const QStringList leftOut = {QStringLiteral("tbl_last_update")};
    const auto seed = [] {
        for (const QString &sql : QString::fromLatin1(Seed).split(';'))
            QVERIFY2(gl_sqlite3db.execDML(sql), qPrintable(sql));
    };
    return Action{QStringLiteral("operation"), name, seed, script, nullptr, 0, mustBeWhole, leftOut,
                  {QStringLiteral("tbl_log")}};
}

// Room 7's cards, as in the 3-D view (the infrared unit's shown), take the frames
// "<device>:<code>:<payload>" (code and payload in hex) from devices 1/<device>;
// then act runs on the infrared unit. Reports are never refused.
Action cards(const char *name, const char *frames, std::function<void(ACItem &)> act = nullptr)
{
    return action(name, true, 0.01, [frames, act](Run &run) {
        LightItem light(loadRoomLights(7).value(0), true);
        ACItem panelUnit(loadRoomAirConditioners(7).value(0), true);
        ACItem irUnit(loadRoomAirConditioners(7).value(1), true);
        FloorHeatItem heating(loadRoomFloorHeating(7).value(0), true);
        OccupationMasterItem sensors(36, 36);
        sensors.setOccupationMaster(loadOccupationMaster(7));
        sensors.show();
        irUnit.show();
        Run::waitUntil([&irUnit] { return !irUnit.isFirstDisplayPending(); });
        run.start();
        for (const QString &frame : QString::fromLatin1(frames).split(' ', Qt::SkipEmptyParts)) {
            const QStringList f = frame.split(':');
            handFrame(SimFrame::build(QByteArray::fromHex("7f000002"), 1, quint8(f[0].toInt()), 0x0258,
                                      quint16(f[1].toInt(nullptr, 16)), 1, 254,
                                      QByteArray::fromHex(f[2].toLatin1())));
        }
        if (act)
            act(irUnit);
        Run::waitUntil([&irUnit] { return irUnit.pendingIrFrames() == 0; });
    });
}

// Room 7 entered on a page, with all on switched where the page has it; no device
// answers and the cards' timers stand still.
Action page(const char *name, const char *id)
{
    return action(name, false, 1000, [id](Run &run) {
        auto page = shownPage(QLatin1String(id));
        run.start();
        emit gl_socket.signalsPageEnter("7", "1");
        auto *devices = qobject_cast<PageDeviceOperate *>(page.get());
        auto *room = qobject_cast<PageRoomOperate *>(page.get());
        if (QWidget *allOn = devices ? devices->switchLabel()
                             : room  ? room->lightingTab()->switchLabel()
                                     : nullptr)
            QTest::mouseClick(allOn, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
        for (ACItem *item : page->findChildren<ACItem *>())
            Run::waitUntil([item] { return item->pendingIrFrames() == 0; });
    });
}

} // namespace

QList<faultsweep::Action> operationActions()
{
    return {
        cards("a light reports on after off", "20:effe:56312e32 20:0034:0164"),
        cards("an air conditioner's panel reports",
              "40:effe:4143 40:e121:00 40:1901:101e111e121e000000 40:e0ed:01171200161500181900"),
        cards("an infrared air conditioner reports its room temperature", "45:e3e8:0013"),
        cards("an infrared air conditioner switched off", "",
              [](ACItem &) { emit gl_socket.signalsACStatus(0); }),
        cards("an infrared air conditioner's set point changed", "",
              [](ACItem &unit) { unit.setPointSlider()->setValue(27); }),
        cards("floor heating reports",
              "50:effe:4648 50:a13f:f805230000 50:1945:0014010116171819 50:e3d9:181a"),
        cards("the occupation sensor and the master switch report",
              "60:012d:f8010000 61:0034:0100 61:0032:01f864"),
        page("the room page: entering polls, all on switches", "Operate Room"),
        page("the Lighting page: entering polls, all on switches", "Lighting"),
        page("the AC page: entering polls, all on switches", "AC"),
        page("the Floor Heat page: entering polls, all on switches", "Floor Heat"),
        page("the 3D View page lists the rooms", "3D View"),
        page("the 3D View Manager page lists the rooms", "3D View Manager"),
        page("the room's 3-D page: entering places and polls the lights", "Operate Room 3D View"),
        page("the 3-D editor: entering places the devices", "3D View Setting"),
        action("a climate 3-D overlay places its units", false, 1,
               [](Run &run) {
                   AC3DViewItem overlay(nullptr);
                   run.start();
                   overlay.updatelist(7);
               }),
    };
}

} // namespace readfaults
