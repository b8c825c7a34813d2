#pragma once

// One DIY command of a mood: one tbl_mood_command row, passed by value. Each byte
// field holds the low 8 bits of its column; commands are sent in ascending
// command_id.

#include <QList>

#include <cstdint>

class QSqlQuery;

struct diyCommand
{
    int32_t command_id = 0;
    uint8_t subnet_id = 0;
    uint8_t device_id = 0;
    uint8_t command_type = 0;
    uint8_t prm1 = 0;
    uint8_t prm2 = 0;
    uint8_t prm3 = 0;
    uint8_t prm4 = 0;
};

// The command of the current row of a "select * from tbl_mood_command" query.
diyCommand diyCommandFromRow(const QSqlQuery &row);

// The commands of a mood, by ascending command_id. When the rows cannot all be
// read, *ok (when given) is set false and the list is empty: a part of the
// commands is never taken for all of them.
QList<diyCommand> loadMoodCommands(int mood_id, int room_id, bool *ok = nullptr);
