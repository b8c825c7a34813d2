#pragma once

// Reading tbl_air_conditioner rows into airConditioner records, the way the room
// card and the climate tabs build their air-conditioner and floor-heating cards,
// and the text fields of the record.

#include "bus/airconditioner.h"

#include <QString>
#include <QVector>

class QSqlQuery;

// Copies text into one of the record's 128-byte text fields as UTF-8, cut at a
// character boundary and always terminated.
void setClimateText(char (&field)[128], const QString &text);
// A text field as a QString; reads at most the field's size.
QString climateText(const char (&field)[128]);

// Every column of the current row of a "select * from tbl_air_conditioner"
// query into the field of the same name; the flags stay zero.
airConditioner airConditionerFromRow(const QSqlQuery &row);

// The air conditioners (numbers 0 and 1) of a room, in number order. An infrared
// unit's set points outside 17 to 30 become 26 and its empty limits 17-17-17 and
// 30-30-30; a panel unit's empty limits become 0-0-0 and 60-60-60. *ok (when
// given) is false, with no unit, when the rows could not be read.
QVector<airConditioner> loadRoomAirConditioners(int room_id, bool *ok = nullptr);

// The floor-heating circuits (numbers 2 and 3) of a room, in number order; empty
// limits become 0 and 60. *ok as above.
QVector<airConditioner> loadRoomFloorHeating(int room_id, bool *ok = nullptr);
