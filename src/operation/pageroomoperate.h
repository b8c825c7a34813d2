#pragma once

// The room operation page ("Operate Room"): the devices of one room in tabs, one
// tab for each kind the room has, below the tab's content. Entered with the
// room's id and a reset flag: above 0 rebuilds the tabs for the room and shows
// the first; "0" (the menu bar's Back) keeps the page as it was and starts no
// polling. Only the tab shown polls its devices; every tab change stops all
// polling first.

#include "shell/mydialog.h"

#include <QList>

class PageRoomOperateAC;
class PageRoomOperateDevices;
class PageRoomOperateFloorHeat;
class PageRoomOperateLighting;
class QtMaterialTabs;

class PageRoomOperate : public MyDialog
{
    Q_OBJECT
public:
    PageRoomOperate(const QString &id, const QString &name, QWidget *parent = nullptr);

    int getRoomId() const { return roomId; }
    QtMaterialTabs *tabBar() const { return tabs; }
    PageRoomOperateLighting *lightingTab() const { return pageLighting; }
    PageRoomOperateAC *acTab() const { return pageAC; }
    PageRoomOperateFloorHeat *floorHeatTab() const { return pageFloorHeat; }

private slots:
    void slotsPageEnter(QString roomId, QString resetTabs);
    void currentChanged(int index);

private:
    // One kind of tab: its title, icon, widget and the query that decides
    // whether a room gets it.
    struct TabKind
    {
        QString title;
        QString icon;
        PageRoomOperateDevices *widget;
        const char *query;
    };
    QList<TabKind> tabKinds() const;

    int roomId = 0;
    QtMaterialTabs *tabs = nullptr;
    PageRoomOperateLighting *pageLighting = nullptr;
    PageRoomOperateAC *pageAC = nullptr;
    PageRoomOperateFloorHeat *pageFloorHeat = nullptr;
};
