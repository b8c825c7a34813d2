#include "pagesetting3dviewmanagerlighting.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "store/textutil.h"
#include "view3d/view3dpainting.h"
#include "view3d/view3drows.h"

#include <QSqlQuery>
#include <QVariant>

PageSetting3DViewManagerLighting::PageSetting3DViewManagerLighting(QWidget *parent)
    : PlacementCanvas(parent)
{}

bool PageSetting3DViewManagerLighting::loadRecords(int room_id)
{
    QSqlQuery rows = gl_sqlite3db.execQuery(QString::asprintf(
        "select * from tbl_light where room_id=%d and (rgb=0 or rgb=1) order by light_id asc", room_id));
    while (rows.next()) {
        positionRecord rec;
        rec.id = rows.value(QStringLiteral("light_id")).toInt();
        rec.room_id = rows.value(QStringLiteral("room_id")).toInt();
        copyUtf8Field(rec.remark, sizeof rec.remark,
                      rows.value(QStringLiteral("light_remark")).toString().toUtf8());
        copyUtf8Field(rec.icon_name_of_light_on, sizeof rec.icon_name_of_light_on,
                      rows.value(QStringLiteral("icon_name_of_light_on")).toString().toUtf8());
        QPoint pos;
        if (!loadIconPosition(IconTable::Lights, rec.id, room_id, pos))
            return false;
        rec.xp1 = pos.x();
        rec.yp1 = pos.y();
        appendRecord(rec);
    }
    return rowsReadToEnd(rows);
}

QString PageSetting3DViewManagerLighting::devicePicture(const positionRecord &rec) const
{
    return QStringLiteral(":/myImages/png/light/") +
           view3d::withPng(QString::fromUtf8(rec.icon_name_of_light_on));
}

bool PageSetting3DViewManagerLighting::storePosition(const positionRecord &rec)
{
    return storeIconPosition(IconTable::Lights, rec.id, rec.room_id, QPoint(rec.xp1, rec.yp1));
}
