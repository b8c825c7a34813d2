#pragma once

// The air-conditioner tab of a room page: one card per air conditioner of the room
// (numbers 0 and 1); its switch turns the units shown on (1) or off (0).

#include "operation/pageroomoperatedevices.h"

class PageRoomOperateAC : public PageRoomOperateDevices
{
    Q_OBJECT
public:
    explicit PageRoomOperateAC(QWidget *parent = nullptr);

protected:
    QList<DeviceItem *> makeCards(int room_id, QWidget *parent, bool &read) override;
    QString refreshKey(int room_id) const override;
    int nextSwitchValue(int value) const override;
    void emitSwitch(int value) override;
};
