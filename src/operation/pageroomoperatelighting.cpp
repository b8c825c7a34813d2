#include "pageroomoperatelighting.h"

#include "bus/broadcastsocket.h"
#include "operation/lightitem.h"
#include "operation/lightloader.h"
#include "store/globals.h"

PageRoomOperateLighting::PageRoomOperateLighting(QWidget *parent)
    : PageRoomOperateDevices(tr("Refresh All Ligths Information"), parent)
{}

QList<DeviceItem *> PageRoomOperateLighting::makeCards(int room_id, QWidget *parent, bool &read)
{
    QList<DeviceItem *> made;
    for (const light &rec : loadRoomLights(room_id, &read))
        made.append(new LightItem(rec, false, parent));
    return made;
}

QString PageRoomOperateLighting::refreshKey(int room_id) const
{
    return QString::asprintf("%d_lighting", room_id);
}

int PageRoomOperateLighting::nextSwitchValue(int value) const
{
    return value > 0 ? 0 : 100;
}

void PageRoomOperateLighting::emitSwitch(int value)
{
    emit gl_socket.signalsLightStatus(value);
}
