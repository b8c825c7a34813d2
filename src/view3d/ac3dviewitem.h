#pragma once

// The air conditioners (numbers 0 and 1) of one room on its 3-D picture; the
// state line follows the mode: the heat or auto set point, "FAN", else the cool
// set point.

#include "view3d/climate3dviewitem.h"

class AC3DViewItem : public Climate3DViewItem
{
    Q_OBJECT
public:
    explicit AC3DViewItem(QWidget *parent = nullptr);

protected:
    QVector<airConditioner> readUnits(int roomId, bool &read) const override;
    ClimateItem *makeCard(const airConditioner &rec) override;
    QString onStateLine(const airConditioner &rec) const override;
};
