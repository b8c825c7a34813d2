#pragma once

// The rooms page ("Rooms"): every room of the project as a tile; pressing one
// opens that room's operation page.

#include "shell/mydialog.h"

class QGridLayout;
class QtMaterialGroupBox;

class PageRooms : public MyDialog
{
    Q_OBJECT
public:
    static constexpr int TileWidth = 300;
    static constexpr int TileHeight = 160;

    PageRooms(const QString &id, const QString &name, QWidget *parent = nullptr);

    void updatelist();

    QtMaterialGroupBox *tileBox() const { return groupBox; }

private slots:
    void slotsPageEnter();
    void slotsEdit(int type, int id);

private:
    QtMaterialGroupBox *groupBox = nullptr;
    QGridLayout *grid = nullptr;
};
