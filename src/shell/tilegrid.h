#pragma once

// The arithmetic shared by every grid of fixed-size tiles: how many columns fit,
// the even spacing around them, where a tile goes, and the stretch that keeps the
// tiles packed at the top left.

class QGridLayout;

// Columns of tileWidth pixels beside a reserved band of `reserved` pixels within
// `width` pixels; never fewer than one, whatever the width.
int tileGridColumns(int width, int reserved, int tileWidth);

// Even horizontal spacing for that many columns; never negative.
int tileGridSpacing(int width, int reserved, int tileWidth, int columns);

// Row and column of the tile at position `index`, filling row by row.
int tileGridRow(int index, int columns);
int tileGridColumn(int index, int columns);

// Rows used by `tiles` tiles: 0 for none.
int tileGridRows(int tiles, int columns);

// Clears every stretch factor an earlier fill left on the grid, then stretches the
// column right of the tiles (the column after the last tile while they fill at most
// one row, else the column after the last column) and the first empty row.
void setTileGridStretch(QGridLayout *grid, int tiles, int columns);
