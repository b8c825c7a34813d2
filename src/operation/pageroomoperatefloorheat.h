#pragma once

// The floor-heating tab of a room page: one card per floor-heating circuit of the
// room (numbers 2 and 3); its switch turns the circuits shown on (1) or off (0).

#include "operation/pageroomoperatedevices.h"

class PageRoomOperateFloorHeat : public PageRoomOperateDevices
{
    Q_OBJECT
public:
    explicit PageRoomOperateFloorHeat(QWidget *parent = nullptr);

protected:
    QList<DeviceItem *> makeCards(int room_id, QWidget *parent, bool &read) override;
    QString refreshKey(int room_id) const override;
    int nextSwitchValue(int value) const override;
    void emitSwitch(int value) override;
};
