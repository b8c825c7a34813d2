#pragma once

// Reading lights out of tbl_light into light records, the way the room card,
// the lighting tab and the 3-D view build their light cards.

#include "operation/light.h"

#include <QVector>

class QSqlQuery;

// The lights of a room that get a card: the rows with rgb 0 or 1 whose subnet
// and device are above 0, by light_id; an "RGB" light takes its further sets from
// its rows rgb 2, 3 and 4 (a missing row leaves its set zero). saved_level is 0.
// *ok (when given) is false, with no light, when the rows could not be read.
QVector<light> loadRoomLights(int room_id, bool *ok = nullptr);

// One light from the current row of a "select * from tbl_light" query: the row
// fills set 0, the brightness column is unpacked by type, and an "RGB" light
// reads its further sets from the database. *ok (when given) is false when one
// of them could not be read.
light lightFromRow(const QSqlQuery &row, bool *ok = nullptr);
