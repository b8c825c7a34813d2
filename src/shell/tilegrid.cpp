#include "tilegrid.h"

#include <QGridLayout>

#include <algorithm>

int tileGridColumns(int width, int reserved, int tileWidth)
{
    if (tileWidth <= 0)
        return 1;
    return std::max(1, (width - reserved - 1) / tileWidth);
}

int tileGridSpacing(int width, int reserved, int tileWidth, int columns)
{
    const int n = std::max(1, columns);
    return std::max(0, (width - reserved - tileWidth * n) / (n + 1));
}

int tileGridRow(int index, int columns)
{
    return index / std::max(1, columns);
}

int tileGridColumn(int index, int columns)
{
    return index % std::max(1, columns);
}

int tileGridRows(int tiles, int columns)
{
    if (tiles <= 0)
        return 0;
    const int n = std::max(1, columns);
    return (tiles + n - 1) / n;
}

void setTileGridStretch(QGridLayout *grid, int tiles, int columns)
{
    for (int column = 0; column < grid->columnCount(); ++column)
        grid->setColumnStretch(column, 0);
    for (int row = 0; row < grid->rowCount(); ++row)
        grid->setRowStretch(row, 0);

    const int rows = tileGridRows(tiles, columns);
    grid->setColumnStretch(rows == 1 ? tiles : std::max(1, columns), 1);
    grid->setRowStretch(rows, 1);
}
