#pragma once

// A small project for the message tests: a region with a floor, two rooms (one
// on a floor that does not exist), two panels and three message definitions, and
// helpers to store and read rows of tbl_message_log.

#include "records/messagelog.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "store/records.h"

#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QtTest>

namespace fixture {

enum { ServiceClean = 11, AlarmFire = 12, ServiceTowels = 13 };
enum { DoorPanel = 1, BedPanel = 2 };
enum { Room101 = 7, BobsRoom = 8 };

inline bool exec(const QString &sql)
{
    const bool ok = gl_sqlite3db.execDML(sql);
    if (!ok)
        qWarning() << "failed:" << sql;
    return ok;
}

inline void seed()
{
    for (const char *sql :
         {"delete from tbl_region", "delete from tbl_floor", "delete from tbl_room", "delete from tbl_panel",
          "delete from tbl_message", "delete from tbl_message_log",
          "insert into tbl_region(region_name,region_id) values('North',1)",
          "insert into tbl_floor(floor_name,floor_id,region_id) values('1F',1,1)",
          "insert into tbl_room(room_name,icon_name,room_id,floor_id,region_id,room_template_id) "
          "values('Room 101','room_1',7,1,1,0)",
          "insert into tbl_room(room_name,icon_name,room_id,floor_id,region_id,room_template_id) "
          "values('Bob''s room','room_2',8,2,1,0)",
          "insert into tbl_panel(panel_id,panel_remark,subnet_id,device_id,room_id) "
          "values(1,'Door panel',1,20,7)",
          "insert into tbl_panel(panel_id,panel_remark,subnet_id,device_id,room_id) "
          "values(2,'Bed panel',1,21,8)",
          "insert into tbl_message(message_id,message_type,message_remark,icon_name,universal_switch_no) "
          "values(11,0,'Clean room','message_03',5)",
          "insert into tbl_message(message_id,message_type,message_remark,icon_name,universal_switch_no) "
          "values(12,1,'Fire','message_05.png',9)",
          "insert into tbl_message(message_id,message_type,message_remark,icon_name,universal_switch_no) "
          "values(13,0,'Towels','message_01',6)"})
        QVERIFY(exec(QLatin1String(sql)));
}

// Stores a row as the intake would and returns its id.
inline int addRow(int messageId, int type, int panelId, int roomId, int status = 0,
                  const QString &recvTime = QStringLiteral("2026-12-07 09:00:00"))
{
    exec(
        QStringLiteral("insert into tbl_message_log(message_id,message_type,message_status,panel_id,room_id,"
                       "message_log_remark,recv_time,deal_time)values(%1,%2,%3,%4,%5,'','%6','')")
            .arg(messageId)
            .arg(type)
            .arg(status)
            .arg(panelId)
            .arg(roomId)
            .arg(sqlText(recvTime)));
    return getValueFromDb(QStringLiteral("select max(id) as id from tbl_message_log"), QStringLiteral("id"));
}

struct Row
{
    bool found = false;
    int status = -1;
    QString remark;
    QString dealTime;
};

inline Row row(int id)
{
    Row r;
    QSqlQuery q =
        gl_sqlite3db.execQuery(QStringLiteral("select * from tbl_message_log where id=%1").arg(id));
    if (q.next()) {
        r.found = true;
        r.status = q.value(QStringLiteral("message_status")).toInt();
        r.remark = q.value(QStringLiteral("message_log_remark")).toString();
        r.dealTime = q.value(QStringLiteral("deal_time")).toString();
    }
    q.finish();
    return r;
}

// The row as a record, as the bar would read it.
inline messageRecord record(int id)
{
    messageRecord r;
    MessageLog::read(id, r);
    return r;
}

} // namespace fixture
