#include "messagenames.h"

#include "store/queryhelpers.h"

MessageNames MessageNames::lookup(const messageRecord &record, bool everyName, bool *ok)
{
    // A look-up that fails is told from one that finds no row.
    bool readAll = true;
    const auto text = [&readAll](const QString &sql, const QString &column, QString &out) {
        bool read = false;
        getTextFromDb(sql, column, out, &read);
        readAll = readAll && read;
    };
    const auto value = [&readAll](const QString &sql, const QString &column) {
        bool read = false;
        const int found = getValueFromDb(sql, column, &read);
        readAll = readAll && read;
        return found;
    };
    MessageNames names;
    const QString messageSql =
        QString::asprintf("select * from tbl_message where message_id=%d", record.message_id);
    names.defined = isRecordExist(messageSql, &readAll);
    if (ok)
        *ok = readAll;
    if (!names.defined && !everyName)
        return names;
    text(messageSql, QStringLiteral("message_remark"), names.messageName);
    text(messageSql, QStringLiteral("icon_name"), names.iconName);
    text(QString::asprintf("select panel_remark from tbl_panel where panel_id=%d", record.panel_id),
         QStringLiteral("panel_remark"), names.panelName);
    const QString roomSql = QString::asprintf("select * from tbl_room where room_id=%d", record.room_id);
    text(roomSql, QStringLiteral("room_name"), names.roomName);
    const int floorId = value(roomSql, QStringLiteral("floor_id"));
    const int regionId = value(roomSql, QStringLiteral("region_id"));
    text(QString::asprintf("select region_name from tbl_region where region_id=%d", regionId),
         QStringLiteral("region_name"), names.regionName);
    text(QString::asprintf("select floor_name from tbl_floor where floor_id=%d and region_id=%d",
                           floorId, regionId),
         QStringLiteral("floor_name"), names.floorName);
    text(QString::asprintf("select message_type_name from tbl_message_type where message_type=%d",
                           record.message_type),
         QStringLiteral("message_type_name"), names.typeName);
    text(QString::asprintf("select message_status_name from tbl_message_status where "
                           "message_status=%d",
                           record.message_status),
         QStringLiteral("message_status_name"), names.statusName);
    if (ok)
        *ok = readAll;
    return names;
}

QString MessageNames::place() const
{
    return QStringLiteral("%1-%2-%3").arg(regionName, floorName, roomName);
}

QString MessageNames::iconPath() const
{
    return iconPath(iconName);
}

QString MessageNames::iconPath(const QString &iconName)
{
    const QString file =
        iconName.contains(QLatin1String(".png")) ? iconName : iconName + QStringLiteral(".png");
    return QStringLiteral(":/myImages/png/message/") + file;
}
