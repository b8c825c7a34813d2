#pragma once

// The tile grid of the list pages (rooms, templates, lights, climate units,
// panels, template lights and panels, moods, messages, 3-D pictures): tiles of
// one size placed row by row on a borderless box, the spacing even across the
// screen, the free space stretched below and right of the tiles.

#include <QList>

class QGridLayout;
class QWidget;

// Places `tiles` (made without a parent, in list order, the add tile last when
// the page has one) on `box`. The first call makes the box's grid with the even
// horizontal spacing for `tileWidth` on a screen `screen_cx` wide and a vertical
// spacing of 20; later calls reuse that grid unchanged and take the tiles of the
// previous fill out of it. Old tiles are hidden and deleted later from the event
// loop, never at once, so a tile whose own signal started the rebuild is safe.
// Returns the grid.
QGridLayout *fillTileGrid(QWidget *box, const QList<QWidget *> &tiles, int tileWidth);

// The stretch that keeps `tiles` tiles on `columns` columns packed at the top
// left: with (r, c) the free cell after the last tile, row r is stretched when c
// is 0 and row r + 1 otherwise; column c when the tiles end inside the first row
// (r 0, c above 0), else column `columns`. Stretches of an earlier fill are
// cleared first.
void setListGridStretch(QGridLayout *grid, int tiles, int columns);
