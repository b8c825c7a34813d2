#pragma once

// The rows of the 3-D view: the picture name of a room (tbl_3d_view_manager) and
// the icon positions of its lights (tbl_3d_view_light, keyed by light_id) and of
// its climate units (tbl_3d_air_conditioner, keyed by air_conditioner_no). A
// position is the top-left corner of an 80 x 80 icon box in widget pixels; the
// overlays and the placement canvases read and write the same rows.

#include <QPoint>
#include <QString>

enum class IconTable { Lights, Climate };

// The room's picture name, or `current` when the room has no row.
QString roomPictureName(int roomId, const QString &current);

// The stored position of a device into pos, or (0, 0) after inserting the missing
// row. False, with nothing inserted, when the rows could not be read (a row read
// as missing might be there), and false when the missing row could not be stored.
bool loadIconPosition(IconTable table, int key, int roomId, QPoint &pos);

// Writes a dropped position; false when the statement failed or changed no row.
bool storeIconPosition(IconTable table, int key, int roomId, const QPoint &topLeft);

// Replaces the room's picture name; false when the statement failed or the room
// has no row.
bool storeRoomPictureName(int roomId, const QString &name);
