#include "occupationmaster.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

// subnet, device, channel and status of the room's first row in table; false when
// it could not be read.
bool readRow(const QString &table, int room_id, uint8_t *subnet, uint8_t *device, uint8_t *channel,
             uint8_t *status)
{
    QSqlQuery row =
        gl_sqlite3db.execQuery(QStringLiteral("select * from %1 where room_id=%2").arg(table).arg(room_id));
    if (!row.next())
        return rowsReadToEnd(row);
    *subnet = uint8_t(row.value(QStringLiteral("subnet_id")).toInt() & 0xFF);
    *device = uint8_t(row.value(QStringLiteral("device_id")).toInt() & 0xFF);
    *channel = uint8_t(row.value(QStringLiteral("channel")).toInt() & 0xFF);
    *status = uint8_t(row.value(QStringLiteral("status")).toInt() & 0xFF);
    row.finish();
    return true;
}

} // namespace

occupationMaster loadOccupationMaster(int room_id, bool *ok)
{
    occupationMaster rec;
    rec.room_id = room_id;
    const bool read = readRow(QStringLiteral("tbl_occupation"), room_id, &rec.occupation_subnet_id,
                              &rec.occupation_device_id, &rec.occupation_channel, &rec.occupation_status) &&
                      readRow(QStringLiteral("tbl_master"), room_id, &rec.master_subnet_id,
                              &rec.master_device_id, &rec.master_channel, &rec.master_status);
    if (ok)
        *ok = read;
    if (read)
        return rec;
    occupationMaster none;
    none.room_id = room_id;
    return none;
}
