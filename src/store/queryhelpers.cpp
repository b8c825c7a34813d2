#include "queryhelpers.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"

#include <QSqlError>
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

void setOk(bool *ok, bool value)
{
    if (ok)
        *ok = value;
}

} // namespace

bool rowsReadToEnd(const QSqlQuery &query)
{
    return query.isActive() && query.lastError().type() == QSqlError::NoError;
}

bool isRecordExist(const QString &sql, bool *ok)
{
    QSqlQuery query = gl_sqlite3db.execQuery(sql);
    const bool found = query.next();
    setOk(ok, rowsReadToEnd(query));
    query.finish();
    return found;
}

bool getTextFromDb(const QString &sql, const QString &column, QString &text, bool *ok)
{
    QSqlQuery query = gl_sqlite3db.execQuery(sql);
    bool found = false;
    if (query.next()) {
        text = columnValue(query, column).toString();
        found = true;
    }
    setOk(ok, rowsReadToEnd(query));
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
    const bool whole = rowsReadToEnd(query);
    query.finish();
    if (!whole) {
        texts.clear();
        return -1;
    }
    return texts.size();
}

int getValueFromDb(const QString &sql, const QString &column, bool *ok)
{
    QSqlQuery query = gl_sqlite3db.execQuery(sql);
    int value = 0;
    if (query.next())
        value = columnValue(query, column).toInt();
    setOk(ok, rowsReadToEnd(query));
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
    const bool whole = rowsReadToEnd(query);
    query.finish();
    if (!whole) {
        values.clear();
        return -1;
    }
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

bool runInTransaction(const std::function<bool()> &work)
{
    if (!gl_sqlite3db.beginTransaction())
        return false;
    if (!work()) {
        gl_sqlite3db.rollbackTransaction();
        return false;
    }
    return gl_sqlite3db.commitTransaction();
}

int execChangingRows(const QString &sql)
{
    QSqlQuery query = gl_sqlite3db.execQuery(sql);
    const int changed = query.isActive() ? query.numRowsAffected() : -1;
    query.finish();
    return changed;
}
