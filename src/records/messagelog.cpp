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

bool MessageLog::read(int id, messageRecord &record, bool *ok)
{
    QSqlQuery query =
        gl_sqlite3db.execQuery(QString::asprintf("select * from tbl_message_log where id=%d", id));
    const bool found = query.next();
    if (ok)
        *ok = rowsReadToEnd(query);
    if (found)
        record = fromRow(query);
    query.finish();
    return found;
}

QStringList MessageLog::statusNames(bool *ok)
{
    QStringList names;
    const int read = getTextsFromDb(QStringLiteral("select message_status_name from tbl_message_status "
                                                   "order by message_status asc"),
                                    QStringLiteral("message_status_name"), names);
    if (ok)
        *ok = read >= 0;
    return names;
}

int MessageLog::statusByName(const QString &name, bool *ok)
{
    return getValueFromDb(QString::asprintf("select message_status from tbl_message_status where "
                                            "message_status_name='%s'",
                                            sqlText(name).toUtf8().constData()),
                          QStringLiteral("message_status"), ok);
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

// The day a row was received, "yyyy-MM-dd": the intake moves a row's receive
// time only within its day.
static QByteArray receiveDay(const messageRecord &record)
{
    return QByteArray(record.recv_time).left(10);
}

bool MessageLog::sameRow(const messageRecord &a, const messageRecord &b)
{
    return a.id == b.id && a.message_id == b.message_id && a.message_type == b.message_type &&
           a.panel_id == b.panel_id && a.room_id == b.room_id && receiveDay(a) == receiveDay(b);
}

bool MessageLog::removedBy(const messageRecord &record, int value, int type)
{
    switch (type) {
    case 1:
        return record.room_id == value;
    case 2:
        return record.panel_id == value;
    case 3:
        return record.message_id == value;
    default:
        return record.id == value;
    }
}

bool MessageLog::writeHandling(const messageRecord &record, bool *found)
{
    // The texts are NUL-terminated inside their fields, so fromUtf8 stops there.
    const QString remark = QString::fromUtf8(record.message_log_remark);
    const QString dealTime = QString::fromUtf8(record.deal_time);
    const QString day = QString::fromUtf8(receiveDay(record));
    const int changed = execChangingRows(QString::asprintf(
        "update tbl_message_log set message_status=%d,message_log_remark='%s',deal_time='%s' where id=%d "
        "and message_id=%d and message_type=%d and panel_id=%d and room_id=%d "
        "and substr(recv_time,1,10)='%s'",
        record.message_status, sqlText(remark).toUtf8().constData(), sqlText(dealTime).toUtf8().constData(),
        record.id, record.message_id, record.message_type, record.panel_id, record.room_id,
        sqlText(day).toUtf8().constData()));
    if (found)
        *found = changed > 0;
    return changed >= 0;
}

void MessageLog::setRemark(messageRecord &record, const QString &remark)
{
    messageRecord::setText(record.message_log_remark, remark);
}

void MessageLog::setDealTime(messageRecord &record, const QString &time)
{
    messageRecord::setText(record.deal_time, time);
}
