#pragma once

// "Rooms Manager": every room of the project as a tile, grouped by region, floor
// and room id, then the add tile. A room tile opens the room editor, the add
// tile the add-room dialog, a tile's delete button removes the room with
// everything that belongs to it.

#include "shell/mydialog.h"

class QGridLayout;
class QtMaterialGroupBox;

class PageSettingRoomManager : public MyDialog
{
    Q_OBJECT
public:
    static constexpr int TileWidth = 300;
    static constexpr int TileHeight = 160;

    PageSettingRoomManager(const QString &id, const QString &name, QWidget *parent = nullptr);

    QtMaterialGroupBox *tileBox() const { return groupBox; }
    QGridLayout *tileGrid() const;

public slots:
    void slotsPageEnter();
    void updatelist();
    void slotsEdit(int type, int id);
    void slotsDelete(int type, int id);

private:
    QtMaterialGroupBox *groupBox = nullptr;
};
