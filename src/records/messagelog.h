#pragma once

// Reading and handling rows of tbl_message_log, and the status vocabulary of
// tbl_message_status, as the message bar, tiles and dialogs use them.

#include "store/records.h"

#include <QString>
#include <QStringList>

class QSqlQuery;

class MessageLog
{
public:
    // A record filled from the current row of a "select * from tbl_message_log" query.
    static messageRecord fromRow(const QSqlQuery &query);
    // Reads the row with this id; false (and record untouched) when there is none,
    // or when the read failed: then *ok (when given) is false too.
    static bool read(int id, messageRecord &record, bool *ok = nullptr);

    // The status names in ascending status order, as the dialogs offer them; *ok
    // (when given) is false when they failed to read.
    static QStringList statusNames(bool *ok = nullptr);
    // The status number of a name; 0 when no row has that name. *ok (when given)
    // is false when the look-up failed to read.
    static int statusByName(const QString &name, bool *ok = nullptr);
    // The name of a status number; empty when there is no such row.
    static QString statusName(int status);

    // The current local time as "yyyy-MM-dd HH:mm:ss", the deal time of a handling.
    static QString now();

    // Whether two records stand for the same stored message: the same row id,
    // message, type, panel and room, received on the same day. The id alone does
    // not tell, since the ids of deleted rows are given out again.
    static bool sameRow(const messageRecord &a, const messageRecord &b);
    // Whether a removal announced on the hub (signalsRemoveMessage) takes the
    // record's row: by room (type 1), panel (2), message (3), or else row id.
    static bool removedBy(const messageRecord &record, int value, int type);

    // Writes a handling (status, remark, deal time) to the record's row and to no
    // other: a row that is gone, even when its id now belongs to another message,
    // is not written and found is false. Returns whether the statement succeeded.
    static bool writeHandling(const messageRecord &record, bool *found = nullptr);

    // Takes a remark typed by the operator into the record (cut at a UTF-8
    // character boundary to fit the field).
    static void setRemark(messageRecord &record, const QString &remark);
    static void setDealTime(messageRecord &record, const QString &time);
};
