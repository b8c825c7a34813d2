#pragma once

// What the "Lighting", "AC" and "Floor Heat" pages share: the devices of one kind
// in every room of the project, one room block (RoomItem) per room that has such
// a device, ordered by region, floor and room, below the refresh header and a row
// with the all-off / all-on switch and a refresh button. Every entry rebuilds the
// blocks and refreshes them 100 ms apart; a 100 ms check ends the refresh header
// once every block is done.
//
// The page keeps the list of the blocks of its latest fill; a refill deletes the
// previous blocks, so none of their cards polls again or is waited for.

#include "shell/mydialog.h"

#include <QList>
#include <QString>
#include <QTimer>

class QGridLayout;
class QtMaterialGroupBox;
class QtMaterialLabel;
class RefreshingCtrl;
class RoomItem;

class PageDeviceOperate : public MyDialog
{
    Q_OBJECT
public:
    static constexpr int StaggerMs = 100;
    static constexpr int CheckMs = 100;

    ~PageDeviceOperate() override;

    // Rebuilds the room blocks from the database; false, with no block, when the
    // rooms or their devices could not be read.
    bool updatelist();
    void startRefresh() override;

    int getAllStatus() const { return allStatus; }
    const QList<RoomItem *> &roomItems() const { return rooms; }
    RefreshingCtrl *refreshControl() const { return refreshingCtrl; }
    QtMaterialLabel *switchLabel() const { return labelCheckBox; }
    QtMaterialLabel *refreshLabel() const { return labelRefresh; }
    QtMaterialGroupBox *roomBox() const { return groupBox; }
    QGridLayout *roomGrid() const { return grid; }
    bool isChecking() const { return finishTimer.isActive(); }

private slots:
    void slotsPageEnter();
    void finishRefresh();
    void labelRefresh_pressed();

protected:
    // kind: the RoomItem kind; deviceQuery: the query, with %d for the room id,
    // that decides whether a room gets a block; onValue: what the switch sends
    // for all on.
    PageDeviceOperate(const QString &id, const QString &name, int kind, const char *deviceQuery,
                      const QString &refreshKey, const QString &refreshTooltip, int onValue,
                      QWidget *parent);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showSwitch(bool on);
    void emitSwitch(int value);

    const int kind;
    const char *const deviceQuery;
    const QString key;
    const int onValue;

    int allStatus = 0;
    QTimer finishTimer;
    QtMaterialLabel *labelCheckBox = nullptr;
    QtMaterialLabel *labelRefresh = nullptr;
    RefreshingCtrl *refreshingCtrl = nullptr;
    QtMaterialGroupBox *groupBox = nullptr;
    QGridLayout *grid = nullptr;
    QList<RoomItem *> rooms;
};
