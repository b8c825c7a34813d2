#pragma once

// The "Moods" tab of the room page: one tile per mood of the room, on the card
// grid of the room tabs. A press on a tile runs that mood. The tab polls nothing:
// it keeps MyWidget's empty startRefresh().

#include "shell/mywidget.h"

class QGridLayout;
class QtMaterialGroupBox;

class PageRoomOperateMoods : public MyWidget
{
    Q_OBJECT
public:
    explicit PageRoomOperateMoods(QWidget *parent = nullptr);

    // Replaces the tiles with those of the room's moods, by ascending mood id.
    void updatelist(int room_id);

    int getRoomId() const { return roomId; }
    QGridLayout *tileGrid() const { return grid; }
    QtMaterialGroupBox *tileBox() const { return groupBox; }

private:
    int roomId = 0;
    QtMaterialGroupBox *groupBox = nullptr;
    QGridLayout *grid = nullptr;
};
