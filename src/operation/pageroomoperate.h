#pragma once

// The room operation page ("Operate Room"): the devices of one room in tabs, one
// tab for each kind the room has, below the tab's content. Entered with the
// room's id and a reset flag: above 0 rebuilds the tabs for the room and shows
// the first; "0" (the menu bar's Back) keeps the page as it was and starts no
// polling. Only the tab shown polls its devices; every tab change stops all
// polling first.

#include "shell/mydialog.h"

#include <QList>

#include <functional>

class PageRoomOperateAC;
class PageRoomOperateDevices;
class PageRoomOperateFloorHeat;
class PageRoomOperateLighting;
class MyWidget;
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
    MyWidget *moodsTab() const { return pageMoods; }

    // Gives the page its "Moods" tab, the last kind of tab, with the call that
    // fills it for a room. The moods subsystem makes the tab; the page shows it
    // like the others, and its startRefresh() polls nothing.
    void setMoodsTab(MyWidget *tab, std::function<void(int roomId)> updatelist);

private slots:
    void slotsPageEnter(QString roomId, QString resetTabs);
    void currentChanged(int index);

private:
    // One kind of tab: its title, icon, widget, its fill (false when the room's
    // devices could not be read) and the query that decides whether a room gets it.
    struct TabKind
    {
        QString title;
        QString icon;
        MyWidget *widget;
        std::function<bool(int roomId)> updatelist;
        const char *query;
    };
    QList<TabKind> tabKinds() const;

    int roomId = 0;
    QtMaterialTabs *tabs = nullptr;
    PageRoomOperateLighting *pageLighting = nullptr;
    PageRoomOperateAC *pageAC = nullptr;
    PageRoomOperateFloorHeat *pageFloorHeat = nullptr;
    MyWidget *pageMoods = nullptr;
    std::function<void(int roomId)> moodsUpdatelist;
};
