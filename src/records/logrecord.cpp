#include "logrecord.h"

#include "store/textutil.h"

#include <QVariant>

void logRecord::copyUtf8(char *field, size_t size, const QString &text)
{
    copyUtf8Field(field, size, text.toUtf8());
}

logRecord logRecord::fromRow(const QSqlQuery &query)
{
    logRecord record;
    record.id = query.value(QStringLiteral("id")).toInt();
    record.log_type = query.value(QStringLiteral("log_type")).toInt();
    setText(record.log_address, query.value(QStringLiteral("log_address")).toString());
    setText(record.log_device, query.value(QStringLiteral("log_device")).toString());
    setText(record.log_event, query.value(QStringLiteral("log_event")).toString());
    setText(record.log_time, query.value(QStringLiteral("log_time")).toString());
    return record;
}
