#include "pagedeviceoperatefloorheat.h"

#include "operation/roomitem.h"

PageDeviceOperateFloorHeat::PageDeviceOperateFloorHeat(const QString &id, const QString &name,
                                                       QWidget *parent)
    : PageDeviceOperate(id, name, RoomItem::KindFloorHeating,
                        "select * from tbl_air_conditioner where room_id=%d and "
                        "(air_conditioner_no=2 or air_conditioner_no=3) order by air_conditioner_no asc",
                        QStringLiteral("all_floorHeatings"), tr("Refresh All FHs Information"), 1, parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageDeviceOperateFloorHeat"));
}
