#pragma once

// The "Lighting" tab of a room's 3-D page: the refresh header, the room's
// occupation and master item with a refresh picture, and the light overlay
// filling the rest. Refreshing polls the occupation and master devices and every
// light of the overlay; a 100 ms check ends the header with "Refresh
// Successfully" once all of them have answered or given up. The header's key is
// "<room>_lighting", the one of the room page's lighting tab.

#include "shell/mywidget.h"

#include <QTimer>

class Light3DViewItem;
class OccupationMasterItem;
class QtMaterialLabel;
class RefreshingCtrl;

class PageRoomOperate3DViewLighting : public MyWidget
{
    Q_OBJECT
public:
    static constexpr int CheckMs = 100;

    explicit PageRoomOperate3DViewLighting(QWidget *parent = nullptr);
    ~PageRoomOperate3DViewLighting() override;

    // Loads the room's occupation sensor, master switch and lights; false, with
    // the failure said and nothing shown, when they could not be read.
    bool updatelist(int roomId);
    void startRefresh() override;

    // The refresh header's key of a room.
    static QString refreshKey(int roomId);

    int getRoomId() const { return roomId; }
    Light3DViewItem *overlay() const { return light3DView; }
    RefreshingCtrl *refreshControl() const { return refreshingCtrl; }
    OccupationMasterItem *occupationMaster() const { return occupationMasterItem; }
    QtMaterialLabel *refreshLabel() const { return labelRefresh; }
    bool isChecking() const { return finishTimer.isActive(); }

private slots:
    void finishRefresh();
    void labelRefresh_pressed();

private:
    int roomId = 0;
    QTimer finishTimer;
    RefreshingCtrl *refreshingCtrl = nullptr;
    OccupationMasterItem *occupationMasterItem = nullptr;
    QtMaterialLabel *labelRefresh = nullptr;
    Light3DViewItem *light3DView = nullptr;
};
