// Every reply decoder of the device cards: a card of each light type, of each
// air-conditioner form (panel, panel unit, infrared), of each floor-heating
// form, and the occupation and master item, each waiting for a reply (in a
// refresh or a send) when a fuzzed frame from its device arrives.

#include "fuzzsupport.h"
#include "knowncodes.h"

#include "bus/broadcastsocket.h"
#include "operation/acitem.h"
#include "operation/climateloader.h"
#include "operation/floorheatitem.h"
#include "operation/lightitem.h"
#include "operation/lightloader.h"
#include "operation/occupationmaster.h"
#include "operation/occupationmasteritem.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"

#include <QVector>

#include <memory>
#include <vector>

namespace {

constexpr int Room = 1;

struct Target
{
    DeviceItem *card = nullptr;             // a light or climate card
    OccupationMasterItem *room = nullptr;   // or the occupation and master item
    uint8_t subnet = 1;
    uint8_t device = 0;
};

void exec(const QString &sql)
{
    gl_sqlite3db.execDML(sql);
}

void addLight(int id, int type, int device, int channel)
{
    exec(QStringLiteral("insert into tbl_light(light_id,light_type,light_remark,subnet_id,device_id,"
                        "channel,icon_name_of_light_on,icon_name_of_light_off,brightness,us_id,fade,"
                        "rgb,original_type,version,room_id) values(%1,%2,'Lamp %1',1,%3,%4,"
                        "'light_01_on','light_01_off',0,3,0,%5,0,'',%6)")
             .arg(id)
             .arg(type)
             .arg(device)
             .arg(channel)
             .arg(channel - 1)
             .arg(Room));
}

void addUnit(int no, int type, int device, int channel)
{
    exec(QStringLiteral("insert into tbl_air_conditioner(air_conditioner_no,air_conditioner_type,"
                        "remark,subnet_id,device_id,channel,status,mode,speed,current_temperature,"
                        "current_cool_temperature,current_heat_temperature,current_auto_temperature,"
                        "current_dry_temperature,temperature_unit,function,high_limit,low_limit,"
                        "room_temperature,room_temperature_type,original_type,version,room_id) "
                        "values(%1,%2,'Unit %1',1,%3,%4,1,0,0,22,24,22,23,25,0,'','30-30-30',"
                        "'16-16-16',21,0,0,'',%5)")
             .arg(no)
             .arg(type)
             .arg(device)
             .arg(channel)
             .arg(Room));
}

std::vector<Target> &targets()
{
    static std::vector<Target> list;
    if (!list.empty())
        return list;
    exec(QStringLiteral("insert into tbl_region(region_name,region_id) values('R',1)"));
    exec(QStringLiteral("insert into tbl_floor(floor_name,floor_id,region_id) values('F',1,1)"));
    exec(QStringLiteral("insert into tbl_room(room_name,icon_name,room_id,floor_id,region_id,"
                        "room_template_id) values('Hall','room_1',%1,1,1,0)")
             .arg(Room));
    // One light of each type on a device of its own; the colour light has four sets.
    const int types[] = {LightOnOff, LightAdjust, LightRGB, LightHSB, LightScene, LightDaliDT8};
    int id = 1;
    for (int type : types) {
        const int device = 20 + id;
        const int sets = type == LightRGB ? 4 : 1;
        for (int c = 1; c <= sets; ++c)
            addLight(id, type, device, c);
        ++id;
    }
    // Air conditioners: by panel (unit 1 and unit 3), by infrared; floor heating
    // on circuit 1 and 2 of one controller.
    addUnit(0, 0, 40, 1);
    addUnit(1, 1, 41, 2);
    exec(QStringLiteral("update tbl_air_conditioner set room_id=%1").arg(Room));
    addUnit(2, 0, 42, 1);
    addUnit(3, 0, 42, 3);
    exec(QStringLiteral("insert into tbl_occupation(subnet_id,device_id,channel,status,room_id) "
                         "values(1,50,1,0,%1)")
             .arg(Room));
    exec(QStringLiteral("insert into tbl_master(subnet_id,device_id,channel,status,room_id) "
                         "values(1,51,2,0,%1)")
             .arg(Room));

    for (const light &rec : loadRoomLights(Room))
        list.push_back({new LightItem(rec, true), nullptr, uint8_t(rec.subnet_id[0]),
                        uint8_t(rec.device_id[0])});
    for (const airConditioner &rec : loadRoomAirConditioners(Room))
        list.push_back({new ACItem(rec, true), nullptr, uint8_t(rec.subnet_id), uint8_t(rec.device_id)});
    // A second panel unit on channel 3 of the same panel: the form with the unit byte.
    airConditioner unit3 = loadRoomAirConditioners(Room).value(0);
    unit3.channel = 3;
    list.push_back({new ACItem(unit3, true), nullptr, uint8_t(unit3.subnet_id), uint8_t(unit3.device_id)});
    for (const airConditioner &rec : loadRoomFloorHeating(Room))
        list.push_back({new FloorHeatItem(rec, true), nullptr, uint8_t(rec.subnet_id),
                        uint8_t(rec.device_id)});
    auto *room = new OccupationMasterItem(60, 60);
    room->setOccupationMaster(loadOccupationMaster(Room));
    room->show(); // the item takes frames while it is shown
    list.push_back({nullptr, room, 1, 50});
    list.push_back({nullptr, room, 1, 51});
    return list;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    std::vector<Target> &list = targets();
    fuzz::Input in(data, size);
    Target &t = list[in.byte() % list.size()];
    const uint8_t mode = in.byte();
    const uint16_t code = fuzz::pickCode(in.byte(), in.word());

    // Waiting for a reply: in a refresh, or in a send of the state it holds.
    if (t.card) {
        if (mode & 1)
            t.card->setStatus();
        else
            t.card->getStatus(0);
    } else {
        if (mode & 1)
            t.room->setStatus();
        else
            t.room->getStatus();
    }

    QByteArray bytes;
    if (mode & 2) {
        bytes = in.rest(); // raw bytes, as anyone on the network may send
    } else {
        const uint8_t subnet = mode & 4 ? in.byte() : t.subnet;
        const uint8_t device = mode & 4 ? in.byte() : t.device;
        bytes = fuzz::frameTo(subnet, device, code, in.rest());
        if (mode & 8) // a length byte that does not fit the bytes
            bytes[16] = char(uint8_t(bytes[16]) ^ (mode & 0xF0));
    }
    fuzz::deliver(bytes);
    emit gl_socket.signalsStopRefresh(false);
    // Keep the log small over millions of inputs: the log looks back at it.
    static int inputs = 0;
    if (++inputs % 1000 == 0)
        gl_sqlite3db.execDML(QStringLiteral("delete from tbl_log"));
    return 0;
}
