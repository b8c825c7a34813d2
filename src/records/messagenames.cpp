#include "messagenames.h"

#include "store/queryhelpers.h"

MessageNames MessageNames::lookup(const messageRecord &record, bool everyName)
{
    MessageNames names;
    const QString messageSql =
        QString::asprintf("select * from tbl_message where message_id=%d", record.message_id);
    names.defined = isRecordExist(messageSql);
    if (!names.defined && !everyName)
        return names;
    getTextFromDb(messageSql, QStringLiteral("message_remark"), names.messageName);
    getTextFromDb(messageSql, QStringLiteral("icon_name"), names.iconName);
    getTextFromDb(QString::asprintf("select panel_remark from tbl_panel where panel_id=%d", record.panel_id),
                  QStringLiteral("panel_remark"), names.panelName);
    const QString roomSql = QString::asprintf("select * from tbl_room where room_id=%d", record.room_id);
    getTextFromDb(roomSql, QStringLiteral("room_name"), names.roomName);
    const int floorId = getValueFromDb(roomSql, QStringLiteral("floor_id"));
    const int regionId = getValueFromDb(roomSql, QStringLiteral("region_id"));
    getTextFromDb(QString::asprintf("select region_name from tbl_region where region_id=%d", regionId),
                  QStringLiteral("region_name"), names.regionName);
    getTextFromDb(QString::asprintf("select floor_name from tbl_floor where floor_id=%d and region_id=%d",
                                    floorId, regionId),
                  QStringLiteral("floor_name"), names.floorName);
    getTextFromDb(QString::asprintf("select message_type_name from tbl_message_type where message_type=%d",
                                    record.message_type),
                  QStringLiteral("message_type_name"), names.typeName);
    getTextFromDb(QString::asprintf("select message_status_name from tbl_message_status where "
                                    "message_status=%d",
                                    record.message_status),
                  QStringLiteral("message_status_name"), names.statusName);
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
