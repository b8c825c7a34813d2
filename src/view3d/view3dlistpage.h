#pragma once

// What the operator's "3D View" page and the installer's "3D View Manager" page
// share: one 300 x 160 tile per room with its 3-D picture and the title
// "region-floor-room", in region, floor and room order, rebuilt on every entry.
// A room without a picture row gets one with "3d_view_01" on its first listing.
// A press on a tile opens the page the subclass chooses for that room. A listing
// whose rows could not be read, or whose picture rows could not be stored, shows
// no tile, stores no row and says so.

#include "shell/mydialog.h"

class QtMaterialGroupBox;

class View3DListPage : public MyDialog
{
    Q_OBJECT
public:
    static constexpr int TileWidth = 300;
    static constexpr int TileHeight = 160;

    void updatelist();

    QtMaterialGroupBox *tileBox() const { return groupBox; }

protected:
    View3DListPage(const QString &id, const QString &name, QWidget *parent);

    // Requests the page that a press on the tile of room id opens.
    virtual void openRoom(int id) = 0;

private slots:
    void slotsPageEnter();
    void slotsEdit(int type, int id);

private:
    QtMaterialGroupBox *groupBox = nullptr;
};
