#pragma once

// The rows of an SQLite database file, read through a read-only connection of its own.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

// The rows sql gives on the SQLite database at path, columns joined by '|'.
inline QStringList dbRows(const QString &path, const QString &sql)
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("rows"));
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QSqlQuery query(db);
        for (bool read = db.open() && query.exec(sql); read && query.next(); rows.last().chop(1)) {
            rows.append(QString());
            for (int i = 0; i < query.record().count(); ++i)
                rows.last() += query.value(i).toString() + QLatin1Char('|');
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("rows"));
    return rows;
}
