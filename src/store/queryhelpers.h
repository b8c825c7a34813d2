#pragma once

// Questions the application asks of the current project's database. Each takes a
// complete query text and, where a value is read, the result column's name.
//
// A query that fails, or whose rows fail to read part way, is told apart from
// one without rows: the list readers answer -1 with an empty list, and the
// single-row readers set *ok (when given) to false. Work that is kept or said
// complete must look at that; a page that only shows rows may read a failure as
// no rows.

#include <QString>
#include <QStringList>

#include <functional>

class QSqlQuery;

bool isRecordExist(const QString &sql, bool *ok = nullptr);
bool getTextFromDb(const QString &sql, const QString &column, QString &text, bool *ok = nullptr);
int getTextsFromDb(const QString &sql, const QString &column, QStringList &texts);
int getValueFromDb(const QString &sql, const QString &column, bool *ok = nullptr);
double getDoubleFromDb(const QString &sql, const QString &column);
int getValuesFromDb(const QString &sql, const QString &column, QStringList &values);

// Whether the query ran and every row it stepped over was read: after next() has
// answered false, tells the end of the rows (true) from a step that failed. For a
// single-row read, true also where next() found a row.
bool rowsReadToEnd(const QSqlQuery &query);

// Quoting for text values placed inside '...' in a statement: every single quote
// is doubled, so the stored text equals the given text ("Bob's room" saves and
// loads as typed). Every text value that goes into SQL passes through here.
QString sqlText(const QString &text);

// Runs the statements in one transaction on gl_sqlite3db: all or nothing.
bool execTransaction(const QStringList &statements);
// Runs work in one transaction on gl_sqlite3db: kept when work answers true and
// the commit succeeds, rolled back otherwise. Answers whether it was kept.
bool runInTransaction(const std::function<bool()> &work);

// Runs one statement; answers how many rows it changed, or -1 when it failed. An
// update that finds no row to change has stored nothing.
int execChangingRows(const QString &sql);
