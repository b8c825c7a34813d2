#pragma once

// The light canvas of the "3D View Setting" page: one icon per light of the room
// (its single row, or the first channel row of a multi-channel light, with or
// without a bus address), drawn with the light's "on" picture; drops are stored
// in tbl_3d_view_light.

#include "view3d/placementcanvas.h"

class PageSetting3DViewManagerLighting : public PlacementCanvas
{
    Q_OBJECT
public:
    explicit PageSetting3DViewManagerLighting(QWidget *parent = nullptr);

protected:
    bool loadRecords(int room_id) override;
    QString devicePicture(const positionRecord &rec) const override;
    bool storePosition(const positionRecord &rec) override;
};
