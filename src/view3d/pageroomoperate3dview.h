#pragma once

// The room's 3-D page ("Operate Room 3D View"), entered with the room id: one tab,
// "Lighting", when the room has a light with a bus address, else nothing at all.
// Every entry and every tab change stops all polling first and then refreshes the
// tab that is shown.

#include "shell/mydialog.h"

class PageRoomOperate3DViewLighting;
class QtMaterialTabs;

class PageRoomOperate3DView : public MyDialog
{
    Q_OBJECT
public:
    PageRoomOperate3DView(const QString &id, const QString &name, QWidget *parent = nullptr);

    int getRoomId() const { return roomId; }
    QtMaterialTabs *tabBar() const { return tabs; }
    PageRoomOperate3DViewLighting *lightingTab() const { return pageLighting; }

private slots:
    void slotsPageEnter(QString roomId);
    void currentChanged(int index);

private:
    int roomId = 0;
    QtMaterialTabs *tabs = nullptr;
    PageRoomOperate3DViewLighting *pageLighting = nullptr;
};
