#include "devicelog.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QVariant>

void commitLog(const QString &device, const QString &event, int room_id, int log_type)
{
    // The statements run for every device reply: each is prepared once, and the
    // texts are bound, so they are stored as given.
    // The room's place in one statement; a room, region or floor that is
    // missing gives no row and nothing is logged.
    QSqlQuery place = gl_sqlite3db.queryBound(
        QStringLiteral("select tbl_room.room_name,tbl_region.region_name,tbl_floor.floor_name from tbl_room "
                       "join tbl_region on tbl_region.region_id=tbl_room.region_id "
                       "join tbl_floor on tbl_floor.floor_id=tbl_room.floor_id and "
                       "tbl_floor.region_id=tbl_room.region_id where tbl_room.room_id=?"),
        {room_id});
    if (!place.next()) {
        place.finish();
        return;
    }
    const QString address = place.value(1).toString() + QLatin1Char('-') + place.value(2).toString() +
                            QLatin1Char('-') + place.value(0).toString();
    place.finish();

    // Rows written within the same second keep their order through the row key.
    QSqlQuery newest = gl_sqlite3db.queryBound(
        QStringLiteral("select log_event from tbl_log where log_type=? and log_address=? and log_device=? "
                       "order by log_time desc,id desc limit 1"),
        {log_type, address, device});
    const bool repeat = newest.next() && newest.value(0).toString() == event;
    newest.finish();
    if (repeat)
        return;

    const QString time = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    gl_sqlite3db.execBound(QStringLiteral("insert into tbl_log(log_type,log_address,log_device,log_event,"
                                          "log_time) values(?,?,?,?,?)"),
                           {log_type, address, device, event, time});
}
