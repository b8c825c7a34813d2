#include "pageroomoperatefloorheat.h"

#include "bus/broadcastsocket.h"
#include "operation/climateloader.h"
#include "operation/floorheatitem.h"
#include "store/globals.h"

PageRoomOperateFloorHeat::PageRoomOperateFloorHeat(QWidget *parent)
    : PageRoomOperateDevices(tr("Refresh All FHs Information"), parent)
{}

QList<DeviceItem *> PageRoomOperateFloorHeat::makeCards(int room_id, QWidget *parent, bool &read)
{
    QList<DeviceItem *> made;
    for (const airConditioner &rec : loadRoomFloorHeating(room_id, &read))
        made.append(new FloorHeatItem(rec, false, parent));
    return made;
}

QString PageRoomOperateFloorHeat::refreshKey(int room_id) const
{
    return QString::asprintf("%d_floorHeating", room_id);
}

int PageRoomOperateFloorHeat::nextSwitchValue(int value) const
{
    return value < 1 ? 1 : 0;
}

void PageRoomOperateFloorHeat::emitSwitch(int value)
{
    emit gl_socket.signalsACStatus(value);
}
