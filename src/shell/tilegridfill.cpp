#include "tilegridfill.h"

#include "shell/tilegrid.h"
#include "store/globals.h"

#include <QGridLayout>
#include <QLayoutItem>
#include <QWidget>

#include <algorithm>

void setListGridStretch(QGridLayout *grid, int tiles, int columns)
{
    for (int column = 0; column < grid->columnCount(); ++column)
        grid->setColumnStretch(column, 0);
    for (int row = 0; row < grid->rowCount(); ++row)
        grid->setRowStretch(row, 0);

    const int n = std::max(1, columns);
    const int r = std::max(0, tiles) / n;
    const int c = std::max(0, tiles) % n;
    const int stretchedRow = c == 0 ? r : r + 1;
    grid->setRowStretch(stretchedRow, 1);
    // A first row filled exactly stretches the column after the last one, not column 0.
    grid->setColumnStretch(stretchedRow == 1 && c != 0 ? c : n, 1);
}

QGridLayout *fillTileGrid(QWidget *box, const QList<QWidget *> &tiles, int tileWidth)
{
    const int columns = tileGridColumns(screen_cx, 0, tileWidth);
    auto *grid = qobject_cast<QGridLayout *>(box->layout());
    const bool fresh = grid == nullptr;
    if (fresh) {
        grid = new QGridLayout;
        grid->setSizeConstraint(QLayout::SetNoConstraint);
        grid->setHorizontalSpacing(tileGridSpacing(screen_cx, 0, tileWidth, columns));
        grid->setVerticalSpacing(20);
    } else {
        while (QLayoutItem *item = grid->takeAt(0)) {
            if (QWidget *old = item->widget()) {
                old->hide();
                old->deleteLater();
            }
            delete item;
        }
    }

    int index = 0;
    for (QWidget *tile : tiles) {
        grid->addWidget(tile, tileGridRow(index, columns), tileGridColumn(index, columns));
        ++index;
    }
    setListGridStretch(grid, index, columns);
    if (fresh)
        box->setLayout(grid);
    return grid;
}
