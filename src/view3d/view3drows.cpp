#include "view3drows.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

namespace {

struct TableNames
{
    const char *table;
    const char *key;
};

TableNames namesOf(IconTable table)
{
    if (table == IconTable::Lights)
        return {"tbl_3d_view_light", "light_id"};
    return {"tbl_3d_air_conditioner", "air_conditioner_no"};
}

} // namespace

QString roomPictureName(int roomId, const QString &current)
{
    QString name = current;
    getTextFromDb(QString::asprintf("select icon_name from tbl_3d_view_manager where room_id=%d", roomId),
                  QStringLiteral("icon_name"), name);
    return name;
}

bool loadIconPosition(IconTable table, int key, int roomId, QPoint &pos)
{
    const TableNames n = namesOf(table);
    const QString sql =
        QString::asprintf("select xp1,yp1 from %s where %s=%d and room_id=%d", n.table, n.key, key, roomId);
    bool read = false;
    bool readY = false;
    if (isRecordExist(sql, &read)) {
        pos = QPoint(getValueFromDb(sql, QStringLiteral("xp1"), &read),
                     getValueFromDb(sql, QStringLiteral("yp1"), &readY));
        return read && readY;
    }
    if (!read)
        return false;
    pos = QPoint(0, 0);
    return gl_sqlite3db.execDML(QString::asprintf("insert into %s(%s,xp1,yp1,room_id) values(%d,%d,%d,%d)",
                                                  n.table, n.key, key, 0, 0, roomId));
}

bool storeIconPosition(IconTable table, int key, int roomId, const QPoint &topLeft)
{
    const TableNames n = namesOf(table);
    // No row to change (its insert was refused when the room was listed): nothing stored.
    return execChangingRows(QString::asprintf("update %s set xp1=%d,yp1=%d where %s=%d and room_id=%d",
                                              n.table, topLeft.x(), topLeft.y(), n.key, key, roomId)) > 0;
}

bool storeRoomPictureName(int roomId, const QString &name)
{
    return execChangingRows(QStringLiteral("update tbl_3d_view_manager set icon_name='%1' where room_id=%2")
                                // One pass: a picture's file name may hold "%N".
                                .arg(sqlText(name), QString::number(roomId))) > 0;
}
