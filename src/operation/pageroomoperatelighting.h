#pragma once

// The lighting tab of a room page: one light card per light of the room; its switch
// sends all on (100) or all off (0) to the lights shown.

#include "operation/pageroomoperatedevices.h"

class PageRoomOperateLighting : public PageRoomOperateDevices
{
    Q_OBJECT
public:
    explicit PageRoomOperateLighting(QWidget *parent = nullptr);

protected:
    QList<DeviceItem *> makeCards(int room_id, QWidget *parent, bool &read) override;
    QString refreshKey(int room_id) const override;
    int nextSwitchValue(int value) const override;
    void emitSwitch(int value) override;
};
