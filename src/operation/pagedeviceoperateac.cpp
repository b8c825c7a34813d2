#include "pagedeviceoperateac.h"

#include "operation/roomitem.h"

PageDeviceOperateAC::PageDeviceOperateAC(const QString &id, const QString &name, QWidget *parent)
    : PageDeviceOperate(id, name, RoomItem::KindAirConditioners,
                        "select * from tbl_air_conditioner where room_id=%d and "
                        "(air_conditioner_no=0 or air_conditioner_no=1) order by air_conditioner_no asc",
                        QStringLiteral("all_airConditioners"), tr("Refresh All ACs Information"), 1, parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageDeviceOperateAC"));
}
