#include "queryhelpers.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

// The value of the named column of the query's current row; an invalid variant
// when the result has no such column.
QVariant columnValue(const QSqlQuery &query, const QString &column)
{
    const QSqlRecord rec = query.record();
    const int index = rec.indexOf(column);
    if (index < 0)
        return QVariant();
    return query.value(index);
}

} // namespace

bool isRecordExist(const QString &sql)
{
    QSqlQuery query = gl_sqlite3db.execQuery(sql);
    const bool found = query.next();
    query.finish();
    return found;
}

bool getTextFromDb(const QString &sql, const QString &column, QString &text)
{
    QSqlQuery query = gl_sqlite3db.execQuery(sql);
    bool found = false;
    if (query.next()) {
        text = columnValue(query, column).toString();
        found = true;
    }
    query.finish();
    return found;
}

int getTextsFromDb(const QString &sql, const QString &column, QStringList &texts)
{
    texts.clear();
    QSqlQuery query = gl_sqlite3db.execQuery(sql);
    while (query.next())
        texts.append(columnValue(query, column).toString());
    query.finish();
    return texts.size();
}

int getValueFromDb(const QString &sql, const QString &column)
{
    QSqlQuery query = gl_sqlite3db.execQuery(sql);
    int value = 0;
    if (query.next())
        value = columnValue(query, column).toInt();
    query.finish();
    return value;
}

double getDoubleFromDb(const QString &sql, const QString &column)
{
    QSqlQuery query = gl_sqlite3db.execQuery(sql);
    double value = 0.0;
    if (query.next())
        value = columnValue(query, column).toDouble();
    query.finish();
    return value;
}

int getValuesFromDb(const QString &sql, const QString &column, QStringList &values)
{
    values.clear();
    QSqlQuery query = gl_sqlite3db.execQuery(sql);
    while (query.next())
        values.append(QString::number(columnValue(query, column).toInt()));
    query.finish();
    return values.size();
}

QString sqlText(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return quoted;
}

bool execTransaction(const QStringList &statements)
{
    return gl_sqlite3db.execTransaction(statements);
}
