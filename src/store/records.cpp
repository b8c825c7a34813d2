#include "records.h"

#include "textutil.h"

#include <QVariant>

void messageRecord::copyUtf8(char *field, size_t size, const QString &text)
{
    copyUtf8Field(field, size, text.toUtf8());
}

messageRecord messageRecord::fromRow(const QSqlQuery &query)
{
    messageRecord record;
    record.id = query.value(QStringLiteral("id")).toInt();
    record.message_id = query.value(QStringLiteral("message_id")).toInt();
    record.message_type = query.value(QStringLiteral("message_type")).toInt();
    record.message_status = query.value(QStringLiteral("message_status")).toInt();
    record.panel_id = query.value(QStringLiteral("panel_id")).toInt();
    record.room_id = query.value(QStringLiteral("room_id")).toInt();
    setText(record.message_log_remark, query.value(QStringLiteral("message_log_remark")).toString());
    setText(record.recv_time, query.value(QStringLiteral("recv_time")).toString());
    setText(record.deal_time, query.value(QStringLiteral("deal_time")).toString());
    return record;
}

void registerVarnoMetaTypes()
{
    qRegisterMetaType<universalSwitchMessage>("universalSwitchMessage");
    qRegisterMetaType<messageRecord>("messageRecord");
}
