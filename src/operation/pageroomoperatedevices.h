#pragma once

// What the lighting, air-conditioner and floor-heating tabs of a room page share:
// the refresh header, a header row with the all-off / all-on switch, the room's
// occupation and master item and a refresh picture, and below it a scrolling grid
// of one card per device of the tab's kind. The room page fills a tab with
// updatelist(room) and starts it with startRefresh(): the cards start 100 ms
// apart, and a 100 ms check ends the refresh header once every card and the
// occupation and master item are done.
//
// The tab keeps the list of the cards of its latest fill; a refill deletes the
// previous cards, so no card of an earlier room polls or is waited for.

#include "shell/mywidget.h"

#include <QList>
#include <QString>
#include <QTimer>

class DeviceItem;
class OccupationMasterItem;
class QGridLayout;
class QtMaterialGroupBox;
class QtMaterialLabel;
class RefreshingCtrl;

class PageRoomOperateDevices : public MyWidget
{
    Q_OBJECT
public:
    static constexpr int CardWidth = 500;
    static constexpr int CardSpacing = 20;
    static constexpr int StaggerMs = 100;
    static constexpr int CheckMs = 100;

    ~PageRoomOperateDevices() override;

    // Fills the tab with the cards of room_id and resets the switch to off. False,
    // with no card and no occupation or master shown, when the devices could not
    // be read.
    bool updatelist(int room_id);
    void startRefresh() override;

    int getRoomId() const { return roomId; }
    int getAllStatus() const { return allStatus; }
    const QList<DeviceItem *> &cards() const { return cardList; }
    OccupationMasterItem *occupationMaster() const { return occupationMasterItem; }
    RefreshingCtrl *refreshControl() const { return refreshingCtrl; }
    QtMaterialLabel *switchLabel() const { return labelCheckBox; }
    QtMaterialLabel *refreshLabel() const { return labelRefresh; }
    QtMaterialGroupBox *cardBox() const { return groupBox; }
    QGridLayout *cardGrid() const { return grid; }
    bool isChecking() const { return finishTimer.isActive(); }

private slots:
    void finishRefresh();
    void labelRefresh_pressed();

protected:
    PageRoomOperateDevices(const QString &refreshTooltip, QWidget *parent);

    bool eventFilter(QObject *watched, QEvent *event) override;

    // The cards of the tab's kind for a room, in grid order, made in parent; read
    // is false, with no card, when the devices could not be read.
    virtual QList<DeviceItem *> makeCards(int room_id, QWidget *parent, bool &read) = 0;
    // The refresh header's key for the room.
    virtual QString refreshKey(int room_id) const = 0;
    // The switch's next value after value, and the hub signal that carries it.
    virtual int nextSwitchValue(int value) const = 0;
    virtual void emitSwitch(int value) = 0;

private:
    void showSwitch(bool on);

    int roomId = 0;
    int allStatus = 0;
    QTimer finishTimer;
    RefreshingCtrl *refreshingCtrl = nullptr;
    QtMaterialLabel *labelCheckBox = nullptr;
    OccupationMasterItem *occupationMasterItem = nullptr;
    QtMaterialLabel *labelRefresh = nullptr;
    QtMaterialGroupBox *groupBox = nullptr;
    QGridLayout *grid = nullptr;
    QList<DeviceItem *> cardList;
};
