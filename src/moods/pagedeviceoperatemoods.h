#pragma once

// The page "Moods": one room block per room that has moods, in region, floor and
// room order, one below the other, each holding that room's mood tiles. Rebuilt
// on every entry; it starts no polling.

#include "shell/mydialog.h"

class QGridLayout;
class QtMaterialGroupBox;
class RoomItem;

class PageDeviceOperateMoods : public MyDialog
{
    Q_OBJECT
public:
    PageDeviceOperateMoods(const QString &id, const QString &name, QWidget *parent = nullptr);

    void updatelist();
    // The blocks of the latest rebuild, top to bottom.
    QList<RoomItem *> roomBlocks() const { return blocks; }

    // Lets room blocks of kind 3 make mood tiles; done by the page's constructor.
    static void installMoodTiles();

private slots:
    void slotsPageEnter();

private:
    QtMaterialGroupBox *groupBox = nullptr;
    QGridLayout *grid = nullptr;
    QList<RoomItem *> blocks;
};
