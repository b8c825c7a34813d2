#pragma once

// The operator's "3D View" page: the rooms as 3-D picture tiles; a press opens
// the room's "Operate Room 3D View" page under the title "region-floor-room".

#include "view3d/view3dlistpage.h"

class Page3DView : public View3DListPage
{
    Q_OBJECT
public:
    Page3DView(const QString &id, const QString &name, QWidget *parent = nullptr);

protected:
    void openRoom(int id) override;
};
