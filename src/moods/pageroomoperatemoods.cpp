#include "pageroomoperatemoods.h"

#include "moods/mood.h"
#include "moods/mooditem.h"
#include "operation/borderlessboxstyle.h"
#include "shell/tilegrid.h"
#include "store/globals.h"

#include <QGridLayout>
#include <QVBoxLayout>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>

PageRoomOperateMoods::PageRoomOperateMoods(QWidget *parent)
    : MyWidget(parent)
{
    auto *canvas = new QtMaterialCanvas(this);
    groupBox = BorderlessBoxStyle::makeBox(canvas);
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(canvas);
}

void PageRoomOperateMoods::updatelist(int room_id)
{
    roomId = room_id;
    // At least one column, also on a screen 500 px wide or less.
    const int columns = tileGridColumns(screen_cx, 0, MoodItem::TileWidth);
    if (!grid) {
        grid = new QGridLayout;
        grid->setSizeConstraint(QLayout::SetNoConstraint);
        grid->setHorizontalSpacing(tileGridSpacing(screen_cx, 0, MoodItem::TileWidth, columns));
        grid->setVerticalSpacing(20);
        groupBox->setLayout(grid);
    } else {
        for (MoodItem *tile : groupBox->findChildren<MoodItem *>(QString(), Qt::FindDirectChildrenOnly)) {
            grid->removeWidget(tile);
            tile->hide();
            tile->deleteLater();
        }
    }

    const QList<mood> moods = loadRoomMoods(roomId);
    for (int i = 0; i < moods.size(); ++i)
        grid->addWidget(new MoodItem(moods.at(i), groupBox), tileGridRow(i, columns),
                        tileGridColumn(i, columns));

    // The first free cell (r, c): the row below the tiles stretches; while every
    // tile is in row 0 the column after them does (column 0 when that row is
    // exactly full), else the column after the last column. Earlier stretches go.
    for (int column = 0; column < grid->columnCount(); ++column)
        grid->setColumnStretch(column, 0);
    for (int row = 0; row < grid->rowCount(); ++row)
        grid->setRowStretch(row, 0);
    const int r = tileGridRow(moods.size(), columns);
    const int c = tileGridColumn(moods.size(), columns);
    const int stretchRow = c == 0 ? r : r + 1;
    grid->setRowStretch(stretchRow, 1);
    grid->setColumnStretch(stretchRow == 1 ? c : columns, 1);
}
