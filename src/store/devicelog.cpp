#include "devicelog.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QDateTime>
#include <QHash>
#include <QSqlQuery>
#include <QVariant>

namespace {

// The newest event of each device (type, address, device text) as the log holds
// it. tbl_log has no index: looking for a device's newest row means reading the
// whole table, and every device reply asks. So the table is read once, and the
// cache is trusted while it accounts for every row: while the highest row id is
// the one it knows (a row written by anyone else changes that), and while the
// row it holds for a device is still there as it was (rows the log page or the
// retention removed). Otherwise it reads the table afresh.
struct Newest
{
    qint64 id = -1;
    QString event;
    QString time;
};

struct NewestEvents
{
    QString connection; // the connection the cache was read through
    qint64 maxId = -1;  // the highest row id it accounts for
    QHash<QString, Newest> byDevice;
};

NewestEvents &newestEvents()
{
    static NewestEvents cache;
    return cache;
}

QString keyOf(int type, const QString &address, const QString &device)
{
    return QString::number(type) + QChar(0) + address + QChar(0) + device;
}

qint64 highestRowId()
{
    QSqlQuery query = gl_sqlite3db.queryBound(QStringLiteral("select max(id) from tbl_log"), {});
    const qint64 id = query.next() ? query.value(0).toLongLong() : 0;
    query.finish();
    return id;
}

void readNewestEvents(NewestEvents &cache)
{
    cache.byDevice.clear();
    cache.connection = gl_sqlite3db.connectionName();
    cache.maxId = highestRowId();
    // In the log's own order, oldest first: the last row of a device is its newest,
    // by time and, within one second, by row key.
    QSqlQuery rows = gl_sqlite3db.queryBound(
        QStringLiteral("select id,log_type,log_address,log_device,log_event,log_time from tbl_log "
                       "order by log_time asc,id asc"),
        {});
    while (rows.next()) {
        const QString key = keyOf(rows.value(1).toInt(), rows.value(2).toString(), rows.value(3).toString());
        cache.byDevice.insert(key, Newest{rows.value(0).toLongLong(), rows.value(4).toString(),
                                          rows.value(5).toString()});
    }
    rows.finish();
}

// Whether the row the cache holds for a device is still there as it was.
bool stillStored(const Newest &newest, int type, const QString &address, const QString &device)
{
    QSqlQuery row = gl_sqlite3db.queryBound(
        QStringLiteral("select log_type,log_address,log_device,log_event,log_time from tbl_log where id=?"),
        {newest.id});
    const bool same = row.next() && row.value(0).toInt() == type && row.value(1).toString() == address &&
                      row.value(2).toString() == device && row.value(3).toString() == newest.event &&
                      row.value(4).toString() == newest.time;
    row.finish();
    return same;
}

} // namespace

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

    // The newest event of this device, type and place; an equal one is not
    // logged again.
    NewestEvents &cache = newestEvents();
    if (cache.connection != gl_sqlite3db.connectionName() || cache.maxId != highestRowId())
        readNewestEvents(cache);
    const QString key = keyOf(log_type, address, device);
    auto newest = cache.byDevice.constFind(key);
    if (newest != cache.byDevice.constEnd() && !stillStored(*newest, log_type, address, device)) {
        readNewestEvents(cache);
        newest = cache.byDevice.constFind(key);
    }
    if (newest != cache.byDevice.constEnd() && newest->event == event)
        return;

    const QString time = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    qint64 id = -1;
    const bool inserted = gl_sqlite3db.execBound(
        QStringLiteral("insert into tbl_log(log_type,log_address,log_device,log_event,log_time) "
                       "values(?,?,?,?,?)"),
        {log_type, address, device, event, time}, nullptr, &id);
    if (!inserted || id <= cache.maxId) {
        cache.maxId = -1; // read afresh next time
        return;
    }
    cache.maxId = id;
    // The new row is the newest unless the clock stands behind the one before.
    if (newest == cache.byDevice.constEnd() || time >= newest->time)
        cache.byDevice.insert(key, Newest{id, event, time});
}
