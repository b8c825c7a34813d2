#pragma once

// What the air-conditioner and floor-heating canvases of the "3D View Setting"
// page share: one icon per unit of two numbers of the room, drawn with the
// kind's fixed picture; drops are stored in tbl_3d_air_conditioner.

#include "view3d/placementcanvas.h"

class ClimateCanvas : public PlacementCanvas
{
    Q_OBJECT
protected:
    ClimateCanvas(int firstNo, const QString &picture, QWidget *parent);

    bool loadRecords(int room_id) override;
    QString devicePicture(const positionRecord &rec) const override;
    bool storePosition(const positionRecord &rec) override;

private:
    const int firstNo;
    const QString picturePath;
};
