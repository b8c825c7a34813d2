#include "pagesetting3dviewmanagerac.h"

PageSetting3DViewManagerAC::PageSetting3DViewManagerAC(QWidget *parent)
    : ClimateCanvas(0, QStringLiteral(":/myImages/png/edit_room/icon-room-ac.png"), parent)
{}
