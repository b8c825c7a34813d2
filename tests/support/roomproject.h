#pragma once

// Filling a project database with rooms and their devices, as the commissioning
// pages would: regions, floors, rooms, lights, air conditioners, floor heating,
// occupation sensors, master switches, panels and messages. Shared by the room
// operation tests, the end-to-end test and the benchmark. Every statement runs
// on gl_sqlite3db; texts go through sqlText.

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QString>
#include <QVariant>

namespace roomproject {

inline bool exec(const QString &sql)
{
    return gl_sqlite3db.execDML(sql);
}

inline bool addRegion(int regionId, const QString &name)
{
    return exec(QStringLiteral("insert into tbl_region(region_name,region_id) values('%1',%2)")
                    .arg(sqlText(name))
                    .arg(regionId));
}

inline bool addFloor(int regionId, int floorId, const QString &name)
{
    return exec(QStringLiteral("insert into tbl_floor(floor_name,floor_id,region_id) values('%1',%2,%3)")
                    .arg(sqlText(name))
                    .arg(floorId)
                    .arg(regionId));
}

inline bool addRoom(int roomId, const QString &name, int regionId, int floorId,
                    const QString &icon = QStringLiteral("room_1"))
{
    return exec(QStringLiteral("insert into tbl_room(room_name,icon_name,room_id,floor_id,region_id,"
                               "room_template_id) values('%1','%2',%3,%4,%5,0)")
                    .arg(sqlText(name), sqlText(icon))
                    .arg(roomId)
                    .arg(floorId)
                    .arg(regionId));
}

struct Light
{
    int room = 1;
    int lightId = 1;
    int type = 1; // "Adjust"
    QString name = QStringLiteral("Lamp");
    int subnet = 1;
    int device = 20;
    int channel = 1;
    int brightness = 0;
    int rgb = 0;
};

inline bool addLight(const Light &l)
{
    return exec(QStringLiteral("insert into tbl_light(light_id,light_type,light_remark,subnet_id,device_id,"
                               "channel,icon_name_of_light_on,icon_name_of_light_off,brightness,us_id,fade,"
                               "rgb,original_type,version,room_id) values(%1,%2,'%3',%4,%5,%6,'light_01_on',"
                               "'light_01_off',%7,0,0,%8,0,'',%9)")
                    .arg(l.lightId)
                    .arg(l.type)
                    .arg(sqlText(l.name))
                    .arg(l.subnet)
                    .arg(l.device)
                    .arg(l.channel)
                    .arg(l.brightness)
                    .arg(l.rgb)
                    .arg(l.room));
}

// One tbl_air_conditioner row: numbers 0 and 1 air conditioners, 2 and 3 floor
// heating.
struct Unit
{
    int room = 1;
    int no = 0;
    int type = 0; // 0 panel, 1 infrared
    QString name = QStringLiteral("AC");
    int subnet = 1;
    int device = 40;
    int channel = 1;
    int cool = 24;
    QString low;
    QString high;
};

inline bool addUnit(const Unit &u)
{
    return exec(QStringLiteral("insert into tbl_air_conditioner(air_conditioner_no,air_conditioner_type,"
                               "remark,subnet_id,device_id,channel,status,mode,speed,current_temperature,"
                               "current_cool_temperature,current_heat_temperature,"
                               "current_auto_temperature,current_dry_temperature,temperature_unit,function,"
                               "high_limit,low_limit,room_temperature,room_temperature_type,original_type,"
                               "version,room_id) values(%1,%2,'%3',%4,%5,%6,0,0,0,22,%7,22,23,25,0,'',"
                               "'%8','%9',21,0,0,'',%10)")
                    .arg(u.no)
                    .arg(u.type)
                    .arg(sqlText(u.name))
                    .arg(u.subnet)
                    .arg(u.device)
                    .arg(u.channel)
                    .arg(u.cool)
                    .arg(sqlText(u.high), sqlText(u.low))
                    .arg(u.room));
}

// A row of tbl_occupation or tbl_master.
inline bool addRoomDevice(const QString &table, int room, int subnet, int device, int channel,
                          int status = 0)
{
    return exec(QStringLiteral("insert into %1(subnet_id,device_id,channel,status,room_id) "
                               "values(%2,%3,%4,%5,%6)")
                    .arg(table)
                    .arg(subnet)
                    .arg(device)
                    .arg(channel)
                    .arg(status)
                    .arg(room));
}

inline bool addPanel(int room, int panelId, int subnet, int device,
                     const QString &name = QStringLiteral("Panel"))
{
    return exec(QStringLiteral("insert into tbl_panel(panel_id,panel_remark,subnet_id,device_id,room_id) "
                               "values(%1,'%2',%3,%4,%5)")
                    .arg(panelId)
                    .arg(sqlText(name))
                    .arg(subnet)
                    .arg(device)
                    .arg(room));
}

// type 0 service message, 1 alarm.
inline bool addMessage(int messageId, int type, const QString &remark, int switchNo,
                       const QString &icon = QStringLiteral("message_01"))
{
    return exec(QStringLiteral("insert into tbl_message(message_id,message_type,message_remark,icon_name,"
                               "universal_switch_no) values(%1,%2,'%3','%4',%5)")
                    .arg(messageId)
                    .arg(type)
                    .arg(sqlText(remark), sqlText(icon))
                    .arg(switchNo));
}

inline bool addTemplate(int templateId, const QString &name, const QString &icon = QStringLiteral("room_1"))
{
    return exec(QStringLiteral("insert into tbl_room_template(room_template_name,room_template_icon_name,"
                               "room_template_id) values('%2','%3',%1)")
                    .arg(templateId)
                    .arg(sqlText(name), sqlText(icon)));
}

inline bool addTemplateLight(int templateId, int templateLightId, int type, const QString &name,
                             const QString &icon = QStringLiteral("light_01_on"))
{
    return exec(QStringLiteral("insert into tbl_template_light(template_light_id,light_type,light_remark,"
                               "icon_name,room_template_id) values(%1,%2,'%4','%5',%3)")
                    .arg(templateLightId)
                    .arg(type)
                    .arg(templateId)
                    .arg(sqlText(name), sqlText(icon)));
}

inline bool addTemplatePanel(int templateId, int templatePanelId, const QString &name)
{
    return exec(QStringLiteral("insert into tbl_template_panel(template_panel_id,panel_remark,"
                               "room_template_id) values(%1,'%3',%2)")
                    .arg(templatePanelId)
                    .arg(templateId)
                    .arg(sqlText(name)));
}

// Every row of the query, its columns joined by "|".
inline QStringList rows(const QString &sql)
{
    QStringList out;
    QSqlQuery q = gl_sqlite3db.execQuery(sql);
    while (q.next()) {
        QStringList columns;
        for (int i = 0; i < q.record().count(); ++i)
            columns.append(q.value(i).toString());
        out.append(columns.join(QLatin1Char('|')));
    }
    return out;
}

inline QVariant value(const QString &sql)
{
    QSqlQuery q = gl_sqlite3db.execQuery(sql);
    return q.next() ? q.value(0) : QVariant();
}

} // namespace roomproject
