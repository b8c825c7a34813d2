#pragma once

// Records that cross subsystems through the hub's signals: a message raised by a
// panel, and one stored row of the message log.

#include <QMetaType>
#include <QSqlQuery>
#include <QString>
#include <cstring>

// One message event from a panel, as the main window's message intake makes it.
struct universalSwitchMessage
{
    int id = 0;             // tbl_message_log row id; 0 until stored
    int subnet_id = 0;      // the panel's subnet
    int device_id = 0;      // the panel's device id
    int switch_no = 0;      // universal switch number, 0-255
    int switch_status = 0;  // 1 on, 0 off
    int panel_id = 0;       // tbl_panel.panel_id
    int room_id = 0;        // tbl_panel.room_id
    int message_id = 0;     // tbl_message.message_id of the switch number
    int message_status = 0; // 0 "suspend", 1 "user cancel"
    int message_type = 0;   // 0 service message, 1 alarm message
    qint64 recv_time = 0;   // seconds since the epoch
};

// One row of tbl_message_log, copied by value. The texts are NUL-terminated UTF-8
// of at most 255 bytes; use setText() to fill them safely.
struct messageRecord
{
    int id = 0;
    int message_id = 0;
    int message_type = 0;
    int message_status = 0;
    int panel_id = 0;
    int room_id = 0;
    char message_log_remark[256] = {};
    char recv_time[256] = {};
    char deal_time[256] = {};

    // Copies text into a fixed-size field, cut at a UTF-8 character boundary and
    // always terminated.
    template<size_t N>
    static void setText(char (&field)[N], const QString &text)
    {
        copyUtf8(field, N, text);
    }
    static void copyUtf8(char *field, size_t size, const QString &text);

    // The record of the current row of a tbl_message_log query, by column name.
    static messageRecord fromRow(const QSqlQuery &query);
};

Q_DECLARE_METATYPE(universalSwitchMessage)
Q_DECLARE_METATYPE(messageRecord)

// Registers the records with Qt's meta-type system (queued connections, QVariant).
void registerVarnoMetaTypes();
