#pragma once

// The "Master" tab of the room editor: the occupation tab over the room's master
// switch (tbl_master), with no channel proposed.

#include "commissioning/pagesettingroommanageroccupation.h"

class PageSettingRoomManagerMaster : public PageSettingRoomManagerOccupation
{
    Q_OBJECT
public:
    explicit PageSettingRoomManagerMaster(QWidget *parent = nullptr)
        : PageSettingRoomManagerOccupation(QStringLiteral("tbl_master"), QString(), QString(), parent)
    {
        setObjectName(QStringLiteral("PageSettingRoomManagerMaster"));
    }
};
