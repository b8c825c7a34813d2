#include "devicelog.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QDateTime>

void commitLog(const QString &device, const QString &event, int room_id, int log_type)
{
    const QString roomSql =
        QStringLiteral("select room_name,floor_id,region_id from tbl_room where room_id=%1").arg(room_id);
    if (!isRecordExist(roomSql))
        return;
    QString roomName;
    getTextFromDb(roomSql, QStringLiteral("room_name"), roomName);
    const int regionId = getValueFromDb(roomSql, QStringLiteral("region_id"));
    const int floorId = getValueFromDb(roomSql, QStringLiteral("floor_id"));

    const QString regionSql =
        QStringLiteral("select region_name from tbl_region where region_id=%1").arg(regionId);
    if (!isRecordExist(regionSql))
        return;
    QString regionName;
    getTextFromDb(regionSql, QStringLiteral("region_name"), regionName);

    const QString floorSql =
        QStringLiteral("select floor_name from tbl_floor where floor_id=%1 and region_id=%2")
            .arg(floorId)
            .arg(regionId);
    if (!isRecordExist(floorSql))
        return;
    QString floorName;
    getTextFromDb(floorSql, QStringLiteral("floor_name"), floorName);

    const QString address = regionName + QLatin1Char('-') + floorName + QLatin1Char('-') + roomName;

    // Rows written within the same second keep their order through the row key.
    const QString newestSql =
        QStringLiteral("select log_event from tbl_log where log_type=%1 and log_address='%2'and "
                       "log_device='%3'order by log_time desc,id desc")
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
