#include "pagehome.h"

#include "bus/broadcastsocket.h"
#include "shell/homemanageritem.h"
#include "shell/settingitem.h"
#include "shell/tilegrid.h"
#include "store/globals.h"

#include <QGridLayout>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>

PageHome::PageHome(const QString &id, const QString &name, QWidget *parent)
    : MyDialog(id, name, parent)
{
    setObjectName(QStringLiteral("PageHome"));
    resize(400, 300);
    setWindowTitle(QStringLiteral("Dialog"));

    homeManagerItem = new HomeManagerItem(nullptr);

    auto *box = new QtMaterialGroupBox(QString(), nullptr);
    box->setStyleSheet(QStringLiteral("QGroupBox{border:none;}"));
    tileGrid = preInit();
    box->setLayout(tileGrid);

    auto *canvas = new QtMaterialCanvas(this);
    canvas->setWidget(box);
    canvas->setWidgetResizable(true);
    // The canvas paints the background; the box only holds the grid.
    box->setAutoFillBackground(false);

    auto *grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    grid->setSpacing(20);
    grid->addWidget(homeManagerItem, 0, 0);
    grid->addWidget(canvas, 1, 0);
    grid->setRowStretch(1, 1);

    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this, &PageHome::slotsPageEnter);
}

QGridLayout *PageHome::preInit()
{
    struct Tile
    {
        const char *id;
        QString picture;
    };
    const Tile tiles[] = {
        {QT_TR_NOOP("Lighting"), tr(":/myImages/png/edit_room/icon-room-lighting.png")},
        {QT_TR_NOOP("AC"), tr(":/myImages/png/edit_room/icon-room-ac.png")},
        {QT_TR_NOOP("Floor Heat"), tr(":/myImages/png/edit_room/icon-room-floorheat.png")},
        {QT_TR_NOOP("Moods"), tr(":/myImages/png/edit_room/icon-room-moods.png")},
    };

    const int columns = tileGridColumns(screen_cx, 0, LargeTileSize);
    auto *grid = new QGridLayout;
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    grid->setHorizontalSpacing(tileGridSpacing(screen_cx, 0, LargeTileSize, columns));
    grid->setVerticalSpacing(20);

    int placed = 0;
    for (const Tile &tile : tiles) {
        // Requests carry the page id; only the title shown is translated.
        auto *item = new SettingItem(tr(tile.id), tile.picture, LargeTilePicture, LargeTilePicture,
                                     LargeTileSize, LargeTileSize, nullptr);
        item->setPageId(QLatin1String(tile.id));
        grid->addWidget(item, tileGridRow(placed, columns), tileGridColumn(placed, columns));
        ++placed;
    }
    setTileGridStretch(grid, placed, columns);
    return grid;
}

void PageHome::slotsPageEnter()
{
    if (!isVisible())
        return;
    homeManagerItem->updatelist();
}
