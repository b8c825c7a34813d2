#pragma once

// The names a stored message is shown with, looked up afresh from the project
// database: its definition's name and icon, its panel, its room with floor and
// region, its type and its status. Nothing is cached, so a renamed room or a
// changed status shows at the next look-up.

#include "store/records.h"

#include <QString>

struct MessageNames
{
    bool defined = false; // the message definition (tbl_message row) exists
    QString messageName;
    QString iconName;
    QString panelName;
    QString roomName;
    QString regionName;
    QString floorName;
    QString typeName;
    QString statusName;

    // Looks up every name of the record; when its message definition is missing
    // `defined` stays false and, unless `everyName` is set, nothing else is looked up.
    // *ok (when given) is false when a look-up failed rather than found no row.
    static MessageNames lookup(const messageRecord &record, bool everyName = false, bool *ok = nullptr);

    // "region-floor-room"; the dashes stay when a part is empty.
    QString place() const;
    // The resource of the message icon, ".png" appended when the name lacks it.
    QString iconPath() const;
    static QString iconPath(const QString &iconName);
};
