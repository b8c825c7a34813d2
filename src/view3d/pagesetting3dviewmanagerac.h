#pragma once

// The canvas of the room's air conditioners (numbers 0 and 1) on the "3D View Setting" page.

#include "view3d/climatecanvas.h"

class PageSetting3DViewManagerAC : public ClimateCanvas
{
    Q_OBJECT
public:
    explicit PageSetting3DViewManagerAC(QWidget *parent = nullptr);
};
