#include "pagesetting3dviewmanagerfloorheat.h"

PageSetting3DViewManagerFloorHeat::PageSetting3DViewManagerFloorHeat(QWidget *parent)
    : ClimateCanvas(2, QStringLiteral(":/myImages/png/edit_room/icon-room-floorheat.png"), parent)
{}
