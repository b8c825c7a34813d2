#pragma once

// The "Floor Heat" tab of the room editor: the air-conditioner tab over the
// room's floor-heating circuits (numbers 2 and 3 of tbl_air_conditioner).

#include "commissioning/pagesettingroommanagerac.h"

class PageSettingRoomManagerFloorHeat : public PageSettingRoomManagerAC
{
    Q_OBJECT
public:
    explicit PageSettingRoomManagerFloorHeat(QWidget *parent = nullptr);

protected:
    int freeNumber() const override;
    QString addFailure() const override;
    QString removeFailure() const override;
};
