#include "lightloader.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

int intColumn(const QSqlQuery &row, const char *column)
{
    return row.value(row.record().indexOf(QLatin1String(column))).toInt();
}

QString textColumn(const QSqlQuery &row, const char *column)
{
    return row.value(row.record().indexOf(QLatin1String(column))).toString();
}

// Set k of rec from one channel row.
void fillSet(light &rec, int k, const QSqlQuery &row)
{
    rec.brightness[k] = intColumn(row, "brightness");
    rec.rgb[k] = intColumn(row, "rgb");
    rec.original_type[k] = intColumn(row, "original_type");
    rec.subnet_id[k] = intColumn(row, "subnet_id");
    rec.device_id[k] = intColumn(row, "device_id");
    rec.channel[k] = intColumn(row, "channel");
    light::copyText(rec.version[k], sizeof rec.version[k], textColumn(row, "version"));
}

} // namespace

light lightFromRow(const QSqlQuery &row, bool *ok)
{
    bool read = true;
    light rec;
    rec.light_id = intColumn(row, "light_id");
    rec.light_type = intColumn(row, "light_type");
    rec.us_id = intColumn(row, "us_id");
    rec.fade = intColumn(row, "fade");
    rec.room_id = intColumn(row, "room_id");
    fillSet(rec, 0, row);
    light::setText(rec.light_remark, textColumn(row, "light_remark"));
    light::setText(rec.icon_name_of_light_on, textColumn(row, "icon_name_of_light_on"));
    light::setText(rec.icon_name_of_light_off, textColumn(row, "icon_name_of_light_off"));

    if (rec.light_type == LightHSB || rec.light_type == LightDaliDT8) {
        rec.unpackBrightness(rec.brightness[0]);
    } else if (rec.light_type == LightRGB) {
        for (int k = 1; k < light::Sets; ++k) {
            QSqlQuery set = gl_sqlite3db.execQuery(
                QStringLiteral("select * from tbl_light where room_id=%1 and light_id=%2 and rgb=%3")
                    .arg(rec.room_id)
                    .arg(rec.light_id)
                    .arg(k + 1));
            if (set.next())
                fillSet(rec, k, set);
            else
                read = read && rowsReadToEnd(set);
        }
    }
    if (ok)
        *ok = read;
    return rec;
}

QVector<light> loadRoomLights(int room_id, bool *ok)
{
    QVector<light> lights;
    QSqlQuery rows = gl_sqlite3db.execQuery(
        QStringLiteral("select * from tbl_light where room_id=%1 and (rgb=0 or rgb=1) and "
                       "subnet_id >0 and device_id >0 order by light_id asc")
            .arg(room_id));
    bool read = true;
    while (read && rows.next())
        lights.append(lightFromRow(rows, &read));
    read = read && rowsReadToEnd(rows);
    if (ok)
        *ok = read;
    return read ? lights : QVector<light>();
}
