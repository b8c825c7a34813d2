#pragma once

// The "Lighting" tab of the room editor: one tile per light of the room, then the
// add tile. A tile opens the light's information page, the add tile the same page
// for a new light; a tile's delete button removes the light at once.

#include "shell/mydialog.h"

class QGridLayout;
class QtMaterialGroupBox;

class PageSettingRoomManagerLighting : public MyDialog
{
    Q_OBJECT
public:
    static constexpr int TileSize = 192;

    explicit PageSettingRoomManagerLighting(QWidget *parent = nullptr);

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
