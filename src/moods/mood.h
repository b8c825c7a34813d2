#pragma once

// One mood of a room: one tbl_mood row, passed by value. The flags say which
// groups of stored device states a run recalls; curtain_bool and audio_bool are
// only carried. The two texts are UTF-8, cut at a character boundary to at most
// 127 bytes and always terminated.

#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

class QSqlQuery;

struct mood
{
    int32_t mood_id = 0;
    int32_t light_bool = 0;
    int32_t ac1_bool = 0;
    int32_t ac2_bool = 0;
    int32_t floor_heat1_bool = 0;
    int32_t floor_heat2_bool = 0;
    int32_t curtain_bool = 0;
    int32_t audio_bool = 0;
    int32_t diy_bool = 0;
    int32_t room_id = 0;
    char mood_name[128] = {};
    char mood_icon_name[128] = {};

    template <size_t N> static void setText(char (&field)[N], const QString &text)
    {
        copyText(field, N, text);
    }
    static void copyText(char *field, size_t size, const QString &text);

    QString name() const;
    QString iconName() const;
};

// The mood of the current row of a "select * from tbl_mood" query; an empty or
// non-numeric flag reads as 0.
mood moodFromRow(const QSqlQuery &row);

// The moods of a room, by ascending mood_id.
QList<mood> loadRoomMoods(int room_id);
