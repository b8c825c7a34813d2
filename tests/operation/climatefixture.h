#pragma once

// Shared by the climate tests: a project (list and database) with one room,
// tbl_air_conditioner, tbl_occupation and tbl_master rows, frames as the field
// devices send them, and what was stored and logged.

#include "bus/airconditioner.h"
#include "bus/broadcastsocket.h"
#include "operation/climateloader.h"
#include "operation/modespeeditem.h"
#include "operation/modespeedselectdlg.h"
#include "simframe.h"
#include "store/cppsqlite3db.h"
#include "store/databaseinit.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/queryhelpers.h"

#include <QApplication>
#include <QDir>
#include <QSqlQuery>
#include <QStringList>
#include <QTimer>
#include <QtTest>
#include <QVariant>

#include <qtmaterialgroupbox.h>
#include <qtmaterialiconbutton.h>

#include <initializer_list>

namespace climatefix {

constexpr int Room = 7;

// A fresh project under folder: the project list (project "Home", indoor range 20
// to 35) and the database file with the room "Hall" on floor "Ground" of region
// "Main".
inline void openProject(const QString &folder, const QString &dbFile)
{
    gl_curPath = folder;
    QDir(folder).mkpath(QStringLiteral("database"));
    init_projectConfig();
    initDatabase(dbFile);
    gl_sqlite3db.execDML(QStringLiteral("insert into tbl_region(region_name,region_id) values('Main',1)"));
    gl_sqlite3db.execDML(
        QStringLiteral("insert into tbl_floor(floor_name,floor_id,region_id) values('Ground',1,1)"));
    gl_sqlite3db.execDML(QStringLiteral("insert into tbl_room(room_name,icon_name,room_id,floor_id,"
                                        "region_id,room_template_id) values('Hall','room_01',%1,1,1,0)")
                             .arg(Room));
}

inline void setIndoorRange(const QString &low, const QString &high)
{
    setProjectNode(QStringLiteral("Home"), QStringLiteral("indoor_temperature_low"), low);
    setProjectNode(QStringLiteral("Home"), QStringLiteral("indoor_temperature_high"), high);
}

// One tbl_air_conditioner row.
struct Unit
{
    int no = 0;
    int type = 0; // 0 panel, 1 infrared
    QString name = QStringLiteral("Lounge AC");
    int subnet = 1;
    int device = 40;
    int channel = 1;
    int status = 0;
    int mode = 0;
    int speed = 0;
    int current = 0;
    int cool = 24;
    int heat = 22;
    int autoPoint = 23;
    int dry = 25;
    int unit = 0;
    int room = 0;
    int roomType = 0;
    QString low;
    QString high;
};

inline void insertUnit(const Unit &u)
{
    gl_sqlite3db.execDML(
        QStringLiteral(
            "insert into tbl_air_conditioner(air_conditioner_no,air_conditioner_type,remark,"
            "subnet_id,device_id,channel,status,mode,speed,current_temperature,"
            "current_cool_temperature,current_heat_temperature,current_auto_temperature,"
            "current_dry_temperature,temperature_unit,function,high_limit,low_limit,"
            "room_temperature,room_temperature_type,original_type,version,room_id) values("
            "%1,%2,'%3',%4,%5,%6,%7,%8,%9,%10,%11,%12,%13,%14,%15,'','%16','%17',%18,%19,0,'',%20)")
            .arg(u.no)
            .arg(u.type)
            .arg(sqlText(u.name))
            .arg(u.subnet)
            .arg(u.device)
            .arg(u.channel)
            .arg(u.status)
            .arg(u.mode)
            .arg(u.speed)
            .arg(u.current)
            .arg(u.cool)
            .arg(u.heat)
            .arg(u.autoPoint)
            .arg(u.dry)
            .arg(u.unit)
            .arg(sqlText(u.high))
            .arg(sqlText(u.low))
            .arg(u.room)
            .arg(u.roomType)
            .arg(Room));
}

// The record of that row as the room's loaders build it.
inline airConditioner loadUnit(int no)
{
    const QVector<airConditioner> all = no <= 1 ? loadRoomAirConditioners(Room) : loadRoomFloorHeating(Room);
    for (const airConditioner &rec : all) {
        if (rec.air_conditioner_no == no)
            return rec;
    }
    return airConditioner();
}

inline QVariant column(int no, const QString &name)
{
    QSqlQuery q = gl_sqlite3db.execQuery(
        QStringLiteral("select %1 from tbl_air_conditioner where room_id=%2 and air_conditioner_no=%3")
            .arg(name)
            .arg(Room)
            .arg(no));
    return q.next() ? q.value(0) : QVariant();
}

inline QVariant tableStatus(const QString &table)
{
    QSqlQuery q = gl_sqlite3db.execQuery(
        QStringLiteral("select status from %1 where room_id=%2").arg(table).arg(Room));
    return q.next() ? q.value(0) : QVariant();
}

// Every logged event, oldest first, as "type|device|event".
inline QStringList logRows()
{
    QStringList rows;
    QSqlQuery q = gl_sqlite3db.execQuery(
        QStringLiteral("select log_type,log_device,log_event from tbl_log order by id"));
    while (q.next())
        rows.append(QStringLiteral("%1|%2|%3")
                        .arg(q.value(0).toInt())
                        .arg(q.value(1).toString(), q.value(2).toString()));
    return rows;
}

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// A frame of the device at subnet/device to this installation (1/254).
inline QByteArray deviceFrame(quint8 subnet, quint8 device, quint16 code, const QByteArray &payload,
                              quint16 deviceType = 0x0095)
{
    return SimFrame::build(QByteArray::fromHex("7f000002"), subnet, device, deviceType, code, 1, 254,
                           payload);
}

// Hands a frame to every item as the transport does.
inline void deliver(QByteArray frame)
{
    emit gl_socket.dataIsComming(reinterpret_cast<quint8 *>(frame.data()), frame.size());
}

// Presses, once it is open, the chooser tile with that caption (or the close
// button for an empty caption).
inline void pressInChooser(const QString &caption)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, caption] {
        auto *dlg = qobject_cast<ModeSpeedSelectDlg *>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        timer->stop();
        timer->deleteLater();
        if (caption.isEmpty()) {
            QTest::mouseClick(dlg->findChild<QtMaterialIconButton *>(QStringLiteral("pushButtonClose")),
                              Qt::LeftButton);
            return;
        }
        for (ModeSpeedItem *tile : dlg->tileBox()->findChildren<ModeSpeedItem *>()) {
            if (tile->getCaption() == caption)
                QTest::mouseClick(tile, Qt::LeftButton, {}, QPoint(40, 40));
        }
    });
    timer->start();
}

} // namespace climatefix
