#include "roomnames.h"

#include "store/queryhelpers.h"

QString regionName(int regionId)
{
    QString name;
    getTextFromDb(QString::asprintf("select region_name from tbl_region where region_id=%d", regionId),
                  QStringLiteral("region_name"), name);
    return name;
}

QString floorName(int regionId, int floorId)
{
    QString name;
    getTextFromDb(QString::asprintf("select floor_name from tbl_floor where region_id=%d and floor_id=%d",
                                    regionId, floorId),
                  QStringLiteral("floor_name"), name);
    return name;
}

QString roomTitle(int regionId, int floorId, const QString &roomName)
{
    return QStringLiteral("%1-%2-%3").arg(regionName(regionId), floorName(regionId, floorId), roomName);
}
