#pragma once

// The installer's "3D View Manager" page: the rooms as 3-D picture tiles; a press
// opens "3D View Setting" for that room.

#include "view3d/view3dlistpage.h"

class PageSetting3DViewManager : public View3DListPage
{
    Q_OBJECT
public:
    PageSetting3DViewManager(const QString &id, const QString &name, QWidget *parent = nullptr);

protected:
    void openRoom(int id) override;
};
