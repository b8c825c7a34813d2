#include "pagesettingroommanagerfloorheat.h"

#include "shell/manageritem.h"
#include "store/idallocators.h"

PageSettingRoomManagerFloorHeat::PageSettingRoomManagerFloorHeat(QWidget *parent)
    : PageSettingRoomManagerAC(
          {ManagerItemFloorHeat,
           "select * from tbl_air_conditioner where room_id=%d and air_conditioner_no>1 "
           "order by air_conditioner_no asc",
           QStringLiteral("air_conditioner_no"), QStringLiteral("remark"), QString(),
           QStringLiteral("Floor Heat Information"), tr("Floor Heat Information")},
          "select air_conditioner_no from tbl_air_conditioner where room_id=%d and "
          "air_conditioner_no>1",
          parent)
{}

int PageSettingRoomManagerFloorHeat::freeNumber() const
{
    return getFHNO(owner_id);
}

QString PageSettingRoomManagerFloorHeat::addFailure() const
{
    return tr("Failed to add the floor heating!");
}

QString PageSettingRoomManagerFloorHeat::removeFailure() const
{
    return tr("Failed to delete the floor heating!");
}
