#include "queryhelpers.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

// Where the named column lies in the query's result; -1 when it has no such column.
int columnIndex(const QSqlQuery &query, const QString &column)
{
    return query.record().indexOf(column);
}

// The value at index of the query's current row; an invalid variant for -1.
QVariant valueAt(const QSqlQuery &query, int index)
{
    return index < 0 ? QVariant() : query.value(index);
}

// The value of the named column of the query's current row.
QVariant columnValue(const QSqlQuery &query, const QString &column)
{
    return valueAt(query, columnIndex(query, column));
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
    // The column is looked up once, not once per row.
    const int index = columnIndex(query, column);
    while (query.next())
        texts.append(valueAt(query, index).toString());
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
    const int index = columnIndex(query, column);
    while (query.next())
        values.append(QString::number(valueAt(query, index).toInt()));
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

int execChangingRows(const QString &sql)
{
    QSqlQuery query = gl_sqlite3db.execQuery(sql);
    const int changed = query.isActive() ? query.numRowsAffected() : -1;
    query.finish();
    return changed;
}
