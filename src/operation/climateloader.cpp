#include "climateloader.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "store/textutil.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <cstring>

namespace {

constexpr int IrLowest = 17;
constexpr int IrHighest = 30;
constexpr int IrDefaultSetPoint = 26;

int intColumn(const QSqlQuery &row, const char *column)
{
    return row.value(row.record().indexOf(QLatin1String(column))).toInt();
}

QString textColumn(const QSqlQuery &row, const char *column)
{
    return row.value(row.record().indexOf(QLatin1String(column))).toString();
}

bool isEmptyText(const char (&field)[128])
{
    return field[0] == '\0';
}

void fillLimits(airConditioner &rec, const QString &low, const QString &high)
{
    if (isEmptyText(rec.high_limit))
        setClimateText(rec.high_limit, high);
    if (isEmptyText(rec.low_limit))
        setClimateText(rec.low_limit, low);
}

void keepInIrRange(int32_t &setPoint)
{
    if (setPoint < IrLowest || setPoint > IrHighest)
        setPoint = IrDefaultSetPoint;
}

QVector<airConditioner> loadRows(int room_id, int first, int second, bool *ok)
{
    QVector<airConditioner> records;
    QSqlQuery rows = gl_sqlite3db.execQuery(
        QStringLiteral("select * from tbl_air_conditioner where room_id=%1 and (air_conditioner_no=%2 or "
                       "air_conditioner_no=%3) order by air_conditioner_no asc")
            .arg(room_id)
            .arg(first)
            .arg(second));
    while (rows.next())
        records.append(airConditionerFromRow(rows));
    const bool read = rowsReadToEnd(rows);
    if (ok)
        *ok = read;
    return read ? records : QVector<airConditioner>();
}

} // namespace

void setClimateText(char (&field)[128], const QString &text)
{
    copyUtf8Field(field, sizeof field, text.toUtf8());
}

QString climateText(const char (&field)[128])
{
    return QString::fromUtf8(field, int(strnlen(field, sizeof field)));
}

airConditioner airConditionerFromRow(const QSqlQuery &row)
{
    airConditioner rec;
    rec.air_conditioner_no = intColumn(row, "air_conditioner_no");
    rec.air_conditioner_type = intColumn(row, "air_conditioner_type");
    rec.status = intColumn(row, "status");
    rec.mode = intColumn(row, "mode");
    rec.room_id = intColumn(row, "room_id");
    rec.speed = intColumn(row, "speed");
    rec.current_temperature = intColumn(row, "current_temperature");
    rec.current_cool_temperature = intColumn(row, "current_cool_temperature");
    rec.current_heat_temperature = intColumn(row, "current_heat_temperature");
    rec.current_auto_temperature = intColumn(row, "current_auto_temperature");
    rec.current_dry_temperature = intColumn(row, "current_dry_temperature");
    rec.temperature_unit = intColumn(row, "temperature_unit");
    rec.subnet_id = intColumn(row, "subnet_id");
    rec.device_id = intColumn(row, "device_id");
    rec.channel = intColumn(row, "channel");
    rec.room_temperature = intColumn(row, "room_temperature");
    rec.room_temperature_type = intColumn(row, "room_temperature_type");
    rec.original_type = intColumn(row, "original_type");
    setClimateText(rec.remark, textColumn(row, "remark"));
    setClimateText(rec.function, textColumn(row, "function"));
    setClimateText(rec.high_limit, textColumn(row, "high_limit"));
    setClimateText(rec.low_limit, textColumn(row, "low_limit"));
    setClimateText(rec.version, textColumn(row, "version"));
    return rec;
}

QVector<airConditioner> loadRoomAirConditioners(int room_id, bool *ok)
{
    QVector<airConditioner> records = loadRows(room_id, 0, 1, ok);
    for (airConditioner &rec : records) {
        if (rec.air_conditioner_type == 1) {
            keepInIrRange(rec.current_cool_temperature);
            keepInIrRange(rec.current_heat_temperature);
            keepInIrRange(rec.current_auto_temperature);
            keepInIrRange(rec.current_dry_temperature);
            fillLimits(rec, QStringLiteral("17-17-17"), QStringLiteral("30-30-30"));
        } else {
            fillLimits(rec, QStringLiteral("0-0-0"), QStringLiteral("60-60-60"));
        }
    }
    return records;
}

QVector<airConditioner> loadRoomFloorHeating(int room_id, bool *ok)
{
    QVector<airConditioner> records = loadRows(room_id, 2, 3, ok);
    for (airConditioner &rec : records)
        fillLimits(rec, QStringLiteral("0"), QStringLiteral("60"));
    return records;
}
