#pragma once

// The small wrapper over one Qt SQL connection (SQLite driver) through which
// every statement of the application reaches the current project's database.

#include <QObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <functional>

class QSqlDatabase;

class CppSQLite3DB : public QObject
{
    Q_OBJECT
public:
    CppSQLite3DB();
    ~CppSQLite3DB() override;

    void setDbName(const QString &name);
    QString getDbName() const { return dbName; }
    void open();
    bool isOpen() const;

    bool execDML(const QString &sql);
    QSqlQuery execQuery(const QString &sql);
    bool tableExists(const QString &table);
    bool fieldExists(const QString &field, const QString &table);
    QStringList getTableList();
    QString getError() const;

    // Runs a group of statements as one transaction: either every statement
    // succeeds and all are committed, or the first failure rolls everything back.
    bool execTransaction(const QStringList &statements);
    // Begins/ends a transaction around statements run by other helpers.
    // Transactions nest: only the outermost one reaches the database, and a
    // rollback inside makes the outermost commit roll back instead.
    bool beginTransaction();
    bool commitTransaction();
    void rollbackTransaction();
    bool inTransaction() const { return m_transactionDepth > 0; }
    // Runs work once the changes made so far are in the database: at once outside
    // a transaction, else when the outermost transaction commits. A rollback drops
    // it. For work that must not run ahead of the rows, such as removing files.
    void afterCommit(std::function<void()> work);

    // Name of the connection in Qt's list of connections ("default_%d"), empty
    // when there is no handle. For tests and diagnostics.
    QString connectionName() const { return m_connectionName; }

public slots:
    void close();

private:
    void ensureOpen();

    QSqlDatabase *db = nullptr;
    QSqlError error;
    QString dbName;
    QString m_connectionName;
    int m_transactionDepth = 0;
    bool m_transactionFailed = false;
    QList<std::function<void()>> m_afterCommit;
};
