#pragma once

// One row of tbl_log (the device-event log), copied by value. The texts are
// NUL-terminated UTF-8 of at most 255 bytes, cut at a character boundary.

#include <QSqlQuery>
#include <QString>

struct logRecord
{
    int id = 0;
    int log_type = 0; // 0 "device status", 1 "device alert"
    char log_address[256] = {};
    char log_device[256] = {};
    char log_event[256] = {};
    char log_time[256] = {};

    // Copies text into a field, cut at a UTF-8 character boundary and terminated.
    template <size_t N> static void setText(char (&field)[N], const QString &text)
    {
        copyUtf8(field, N, text);
    }
    static void copyUtf8(char *field, size_t size, const QString &text);

    // The record of the current row of a "select * from tbl_log" query.
    static logRecord fromRow(const QSqlQuery &query);
};
