#include "devicelog.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QVariant>

void commitLog(const QString &device, const QString &event, int room_id, int log_type)
{
    // The room's place in one statement; a room, region or floor that is
    // missing gives no row and nothing is logged.
    QSqlQuery place = gl_sqlite3db.execQuery(QString::asprintf(
        "select tbl_room.room_name as room_name,tbl_region.region_name as region_name,"
        "tbl_floor.floor_name as floor_name from tbl_room "
        "join tbl_region on tbl_region.region_id=tbl_room.region_id "
        "join tbl_floor on tbl_floor.floor_id=tbl_room.floor_id and tbl_floor.region_id=tbl_room.region_id "
        "where tbl_room.room_id=%d",
        room_id));
    if (!place.next())
        return;
    const QString roomName = place.value(QStringLiteral("room_name")).toString();
    const QString regionName = place.value(QStringLiteral("region_name")).toString();
    const QString floorName = place.value(QStringLiteral("floor_name")).toString();
    place.finish();

    const QString address = regionName + QLatin1Char('-') + floorName + QLatin1Char('-') + roomName;

    // Rows written within the same second keep their order through the row key.
    const QString newestSql =
        QStringLiteral("select log_event from tbl_log where log_type=%1 and log_address='%2'and "
                       "log_device='%3'order by log_time desc,id desc limit 1")
            .arg(QString::number(log_type), sqlText(address), sqlText(device));
    QString newest;
    if (getTextFromDb(newestSql, QStringLiteral("log_event"), newest) && newest == event)
        return;

    const QString time = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    gl_sqlite3db.execDML(
        QStringLiteral("insert into tbl_log(log_type,log_address,log_device,log_event,"
                       "log_time) values(%1,'%2','%3','%4','%5')")
            .arg(QString::number(log_type), sqlText(address), sqlText(device), sqlText(event), time));
}
