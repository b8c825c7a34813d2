#pragma once

// The "Moods" tab of the room editor: one tile per mood of the room, then the
// add tile. A tile opens the mood editor for its mood, the add tile for a new
// mood with the first free mood id of the project; a tile's delete button
// removes the mood, its stored device states, its DIY commands and its picture
// file at once (or, when the rows cannot be removed, nothing, and says so).
// The tab does not run moods.

#include "shell/mydialog.h"

class QtMaterialGroupBox;

class PageSettingRoomManagerMoods : public MyDialog
{
    Q_OBJECT
public:
    static constexpr int TileWidth = 300;
    static constexpr int TileHeight = 160;

    explicit PageSettingRoomManagerMoods(QWidget *parent = nullptr);

    void updatelist(int room_id);
    int roomId() const { return room_id; }
    QtMaterialGroupBox *tileBox() const { return groupBox; }

public slots:
    void slotsEdit(int type, int id);
    void slotsDelete(int type, int id);

private:
    QtMaterialGroupBox *groupBox = nullptr;
    int room_id = 0;
};
