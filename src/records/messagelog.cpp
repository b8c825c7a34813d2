#include "messagelog.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QVariant>

messageRecord MessageLog::fromRow(const QSqlQuery &query)
{
    return messageRecord::fromRow(query);
}

bool MessageLog::read(int id, messageRecord &record)
{
    QSqlQuery query =
        gl_sqlite3db.execQuery(QString::asprintf("select * from tbl_message_log where id=%d", id));
    const bool found = query.next();
    if (found)
        record = fromRow(query);
    query.finish();
    return found;
}

QStringList MessageLog::statusNames()
{
    QStringList names;
    getTextsFromDb(QStringLiteral("select message_status_name from tbl_message_status "
                                  "order by message_status asc"),
                   QStringLiteral("message_status_name"), names);
    return names;
}

int MessageLog::statusByName(const QString &name)
{
    return getValueFromDb(QString::asprintf("select message_status from tbl_message_status where "
                                            "message_status_name='%s'",
                                            sqlText(name).toUtf8().constData()),
                          QStringLiteral("message_status"));
}

QString MessageLog::statusName(int status)
{
    QString name;
    getTextFromDb(QString::asprintf("select message_status_name from tbl_message_status where "
                                    "message_status=%d",
                                    status),
                  QStringLiteral("message_status_name"), name);
    return name;
}

QString MessageLog::now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

bool MessageLog::writeHandling(const messageRecord &record)
{
    // The texts are NUL-terminated inside their fields, so fromUtf8 stops there.
    const QString remark = QString::fromUtf8(record.message_log_remark);
    const QString dealTime = QString::fromUtf8(record.deal_time);
    return gl_sqlite3db.execDML(QString::asprintf(
        "update tbl_message_log set message_status=%d,message_log_remark='%s',deal_time='%s' where id=%d",
        record.message_status, sqlText(remark).toUtf8().constData(), sqlText(dealTime).toUtf8().constData(),
        record.id));
}

void MessageLog::setRemark(messageRecord &record, const QString &remark)
{
    messageRecord::setText(record.message_log_remark, remark);
}

void MessageLog::setDealTime(messageRecord &record, const QString &time)
{
    messageRecord::setText(record.deal_time, time);
}
