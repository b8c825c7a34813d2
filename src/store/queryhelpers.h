#pragma once

// Questions the application asks of the current project's database. Each takes a
// complete query text and, where a value is read, the result column's name. A
// failed query reads exactly like a query without rows.

#include <QString>
#include <QStringList>

bool isRecordExist(const QString &sql);
bool getTextFromDb(const QString &sql, const QString &column, QString &text);
int getTextsFromDb(const QString &sql, const QString &column, QStringList &texts);
int getValueFromDb(const QString &sql, const QString &column);
double getDoubleFromDb(const QString &sql, const QString &column);
int getValuesFromDb(const QString &sql, const QString &column, QStringList &values);

// Quoting for text values placed inside '...' in a statement: every single quote
// is doubled, so the stored text equals the given text ("Bob's room" saves and
// loads as typed). Every text value that goes into SQL passes through here.
QString sqlText(const QString &text);

// Runs the statements in one transaction on gl_sqlite3db: all or nothing.
bool execTransaction(const QStringList &statements);

// Runs one statement; answers how many rows it changed, or -1 when it failed. An
// update that finds no row to change has stored nothing.
int execChangingRows(const QString &sql);
