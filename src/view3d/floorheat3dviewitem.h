#pragma once

// The floor-heating circuits (numbers 2 and 3) of one room on its 3-D picture;
// the state line shows the set point.

#include "view3d/climate3dviewitem.h"

class FloorHeat3DViewItem : public Climate3DViewItem
{
    Q_OBJECT
public:
    explicit FloorHeat3DViewItem(QWidget *parent = nullptr);

protected:
    QVector<airConditioner> readUnits(int roomId, bool &read) const override;
    ClimateItem *makeCard(const airConditioner &rec) override;
    QString onStateLine(const airConditioner &rec) const override;
};
