#include "pagedeviceoperatelighting.h"

#include "operation/roomitem.h"

PageDeviceOperateLighting::PageDeviceOperateLighting(const QString &id, const QString &name, QWidget *parent)
    : PageDeviceOperate(id, name, RoomItem::KindLights,
                        "select * from tbl_light where room_id=%d and (rgb=0 or rgb=1) and "
                        "subnet_id >0 and device_id >0 order by light_id asc",
                        QStringLiteral("all_lightings"), tr("Refresh All Ligths Information"), 100, parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageDeviceOperateLighting"));
}
