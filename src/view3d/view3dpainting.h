#pragma once

// Drawing shared by the 3-D overlays and the placement canvases: the room's
// picture stretched over the widget inside a 10-pixel margin, and the round
// device icons with their pictures and text bands.

#include <QColor>
#include <QRect>
#include <QString>

class QPainter;
class QSize;

namespace view3d {

constexpr int IconSize = 80;

// Colours of an icon that is on and off, and of the climate state line.
const QColor &iconOnColor();
const QColor &iconOffColor();
const QColor &stateLineColor();

// The file or resource of a room picture name; empty when it cannot be drawn.
QString roomPicturePath(const QString &pictureName);

// The picture stretched into (10, 10, w - 20, h - 20); nothing when it cannot be
// loaded or the widget is too small.
void drawRoomPicture(QPainter &painter, const QSize &widgetSize, const QString &pictureName);

// The icon box whose top-left corner is topLeft.
QRect iconBox(const QPoint &topLeft);
// Whether the point lies in that box, edges included.
bool iconBoxContains(const QPoint &topLeft, const QPoint &point);

// A filled circle over the box, without outline.
void drawIconCircle(QPainter &painter, const QRect &box, const QColor &color);
// A picture stretched into the rectangle; nothing when it cannot be loaded.
void drawPicture(QPainter &painter, const QRect &target, const QString &path);
// One text band of an icon: font role 12, elided to the band's width, centred.
void drawIconText(QPainter &painter, const QRect &band, const QString &text, const QColor &color);

// The name with ".png" appended when it holds none.
QString withPng(const QString &name);

} // namespace view3d
