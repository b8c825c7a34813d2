#include "pageroomoperateac.h"

#include "bus/broadcastsocket.h"
#include "operation/climateloader.h"
#include "operation/acitem.h"
#include "store/globals.h"

PageRoomOperateAC::PageRoomOperateAC(QWidget *parent)
    : PageRoomOperateDevices(tr("Refresh All ACs Information"), parent)
{}

QList<DeviceItem *> PageRoomOperateAC::makeCards(int room_id, QWidget *parent, bool &read)
{
    QList<DeviceItem *> made;
    for (const airConditioner &rec : loadRoomAirConditioners(room_id, &read))
        made.append(new ACItem(rec, false, parent));
    return made;
}

QString PageRoomOperateAC::refreshKey(int room_id) const
{
    return QString::asprintf("%d_airConditioner", room_id);
}

int PageRoomOperateAC::nextSwitchValue(int value) const
{
    return value < 1 ? 1 : 0;
}

void PageRoomOperateAC::emitSwitch(int value)
{
    emit gl_socket.signalsACStatus(value);
}
