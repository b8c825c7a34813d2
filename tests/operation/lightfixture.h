#pragma once

// Shared by the light tests: a project database with one room, light rows in
// tbl_light, frames as a lighting module sends them, and what was stored.

#include "bus/broadcastsocket.h"
#include "operation/light.h"
#include "operation/lightloader.h"
#include "simframe.h"
#include "store/cppsqlite3db.h"
#include "store/databaseinit.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace lightfix {

constexpr int Room = 7;
constexpr quint16 ModuleType = 0x0258;

// A fresh project database with the room "Hall" on floor "Ground" of region "Main".
inline void openProject(const QString &file)
{
    initDatabase(file);
    gl_sqlite3db.execDML(QStringLiteral("insert into tbl_region(region_name,region_id) values('Main',1)"));
    gl_sqlite3db.execDML(
        QStringLiteral("insert into tbl_floor(floor_name,floor_id,region_id) values('Ground',1,1)"));
    gl_sqlite3db.execDML(QStringLiteral("insert into tbl_room(room_name,icon_name,room_id,floor_id,"
                                        "region_id,room_template_id) values('Hall','room_01',%1,1,1,0)")
                             .arg(Room));
}

struct Row
{
    int lightId = 1;
    int type = LightAdjust;
    QString name = QStringLiteral("Lamp");
    int subnet = 1;
    int device = 20;
    int channel = 1;
    int brightness = 0;
    int rgb = 0;
    int usId = 0;
};

inline void insertLight(const Row &r)
{
    gl_sqlite3db.execDML(
        QStringLiteral("insert into tbl_light(light_id,light_type,light_remark,subnet_id,device_id,channel,"
                       "icon_name_of_light_on,icon_name_of_light_off,brightness,us_id,fade,rgb,"
                       "original_type,version,room_id) values(%1,%2,'%3',%4,%5,%6,'light_01_on',"
                       "'light_01_off',%7,%8,0,%9,0,'',%10)")
            .arg(r.lightId)
            .arg(r.type)
            .arg(sqlText(r.name))
            .arg(r.subnet)
            .arg(r.device)
            .arg(r.channel)
            .arg(r.brightness)
            .arg(r.usId)
            .arg(r.rgb)
            .arg(Room));
}

// The light of that id as the room's loader builds it.
inline light loadLight(int lightId)
{
    for (const light &rec : loadRoomLights(Room)) {
        if (rec.light_id == lightId)
            return rec;
    }
    return light();
}

inline QVariant column(int lightId, const QString &name, int rgb = -1)
{
    QString sql = QStringLiteral("select %1 from tbl_light where room_id=%2 and light_id=%3")
                      .arg(name)
                      .arg(Room)
                      .arg(lightId);
    if (rgb >= 0)
        sql += QStringLiteral(" and rgb=%1").arg(rgb);
    QSqlQuery q = gl_sqlite3db.execQuery(sql);
    return q.next() ? q.value(0) : QVariant();
}

inline int storedBrightness(int lightId, int rgb = -1)
{
    return column(lightId, QStringLiteral("brightness"), rgb).toInt();
}

// Every logged event, oldest first, as "device:event".
inline QStringList logRows()
{
    QStringList rows;
    QSqlQuery q =
        gl_sqlite3db.execQuery(QStringLiteral("select log_device,log_event from tbl_log order by id"));
    while (q.next())
        rows.append(q.value(0).toString() + QLatin1Char(':') + q.value(1).toString());
    return rows;
}

// A frame of the module at subnet/device to this installation (1/254).
inline QByteArray moduleFrame(quint8 subnet, quint8 device, quint16 code, const QByteArray &payload,
                              quint16 deviceType = ModuleType)
{
    return SimFrame::build(QByteArray::fromHex("7f000002"), subnet, device, deviceType, code, 1, 254,
                           payload);
}

// Hands a frame to every device card as the transport does.
inline void deliver(QByteArray frame)
{
    emit gl_socket.dataIsComming(reinterpret_cast<quint8 *>(frame.data()), frame.size());
}

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

} // namespace lightfix
