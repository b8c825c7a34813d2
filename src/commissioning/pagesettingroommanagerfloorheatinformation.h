#pragma once

// "Floor Heat Information": one floor-heating circuit of a room, on the page of
// the air conditioners without the choice of drive (always 0).

#include "commissioning/pagesettingroommanageracinformation.h"

class PageSettingRoomManagerFloorHeatInformation : public PageSettingRoomManagerACInformation
{
    Q_OBJECT
public:
    PageSettingRoomManagerFloorHeatInformation(const QString &id, const QString &name,
                                               QWidget *parent = nullptr)
        : PageSettingRoomManagerACInformation(id, name, true, parent)
    {
        setObjectName(QStringLiteral("PageSettingRoomManagerFloorHeatInformation"));
    }
};
