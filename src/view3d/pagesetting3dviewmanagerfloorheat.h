#pragma once

// The canvas of the room's floor-heating circuits (numbers 2 and 3) on the "3D View Setting" page.

#include "view3d/climatecanvas.h"

class PageSetting3DViewManagerFloorHeat : public ClimateCanvas
{
    Q_OBJECT
public:
    explicit PageSetting3DViewManagerFloorHeat(QWidget *parent = nullptr);
};
