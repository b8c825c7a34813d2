#include "diycommand.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QSqlQuery>
#include <QVariant>

diyCommand diyCommandFromRow(const QSqlQuery &row)
{
    auto byte = [&row](const char *column) {
        return uint8_t(row.value(QLatin1String(column)).toInt() & 0xFF);
    };
    diyCommand c;
    c.command_id = row.value(QStringLiteral("command_id")).toInt();
    c.subnet_id = byte("subnet_id");
    c.device_id = byte("device_id");
    c.command_type = byte("command_type");
    c.prm1 = byte("prm1");
    c.prm2 = byte("prm2");
    c.prm3 = byte("prm3");
    c.prm4 = byte("prm4");
    return c;
}

QList<diyCommand> loadMoodCommands(int mood_id, int room_id, bool *ok)
{
    QList<diyCommand> commands;
    QSqlQuery query = gl_sqlite3db.execQuery(QString::asprintf(
        "select * from tbl_mood_command where mood_id=%d and room_id=%d order by command_id asc", mood_id,
        room_id));
    while (query.next())
        commands.append(diyCommandFromRow(query));
    const bool whole = rowsReadToEnd(query);
    query.finish();
    if (ok)
        *ok = whole;
    if (!whole)
        commands.clear();
    return commands;
}
