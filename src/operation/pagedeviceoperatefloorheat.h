#pragma once

// The floor-heating page ("Floor Heat"): the floor-heating circuits of every room,
// room by room; its switch turns every circuit shown on (1) or off (0).

#include "operation/pagedeviceoperate.h"

class PageDeviceOperateFloorHeat : public PageDeviceOperate
{
    Q_OBJECT
public:
    PageDeviceOperateFloorHeat(const QString &id, const QString &name, QWidget *parent = nullptr);
};
