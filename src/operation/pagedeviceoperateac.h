#pragma once

// The air-conditioner page ("AC"): the air conditioners of every room, room by
// room; its switch turns every unit shown on (1) or off (0).

#include "operation/pagedeviceoperate.h"

class PageDeviceOperateAC : public PageDeviceOperate
{
    Q_OBJECT
public:
    PageDeviceOperateAC(const QString &id, const QString &name, QWidget *parent = nullptr);
};
