#include "climatecanvas.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "store/textutil.h"
#include "view3d/view3drows.h"

#include <QSqlQuery>
#include <QVariant>

ClimateCanvas::ClimateCanvas(int first, const QString &picture, QWidget *parent)
    : PlacementCanvas(parent)
    , firstNo(first)
    , picturePath(picture)
{}

bool ClimateCanvas::loadRecords(int room_id)
{
    QSqlQuery rows = gl_sqlite3db.execQuery(
        QString::asprintf("select * from tbl_air_conditioner where room_id=%d and (air_conditioner_no=%d or "
                          "air_conditioner_no=%d) order by air_conditioner_no asc",
                          room_id, firstNo, firstNo + 1));
    while (rows.next()) {
        positionRecord rec;
        rec.id = rows.value(QStringLiteral("air_conditioner_no")).toInt();
        rec.room_id = rows.value(QStringLiteral("room_id")).toInt();
        copyUtf8Field(rec.remark, sizeof rec.remark,
                      rows.value(QStringLiteral("remark")).toString().toUtf8());
        QPoint pos;
        if (!loadIconPosition(IconTable::Climate, rec.id, room_id, pos))
            return false;
        rec.xp1 = pos.x();
        rec.yp1 = pos.y();
        appendRecord(rec);
    }
    return rowsReadToEnd(rows);
}

QString ClimateCanvas::devicePicture(const positionRecord &) const
{
    return picturePath;
}

bool ClimateCanvas::storePosition(const positionRecord &rec)
{
    return storeIconPosition(IconTable::Climate, rec.id, rec.room_id, QPoint(rec.xp1, rec.yp1));
}
