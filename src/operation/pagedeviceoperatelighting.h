#pragma once

// The lighting page ("Lighting"): the lights of every room, room by room; its switch
// sends all on (100) or all off (0) to every light shown.

#include "operation/pagedeviceoperate.h"

class PageDeviceOperateLighting : public PageDeviceOperate
{
    Q_OBJECT
public:
    PageDeviceOperateLighting(const QString &id, const QString &name, QWidget *parent = nullptr);
};
