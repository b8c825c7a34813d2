#pragma once

// The small wrapper over one Qt SQL connection (SQLite driver) through which
// every statement of the application reaches the current project's database.

#include <QHash>
#include <QObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

class QSqlDatabase;
class QTimer;
struct sqlite3;

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
    // A statement with "?" placeholders, bound in order to values. Each text is
    // prepared once and kept until the connection closes, so statements that run
    // for every device reply are not parsed again each time. A query's rows are
    // read before the next call with the same text.
    //
    // The writes of execBound (the device states and their log events) gather in
    // one transaction, committed BatchMs after the first of them, or at once
    // before any other statement, transaction, or the close. Whatever runs on
    // this connection sees each write at once; a burst of device replies costs
    // one commit rather than one each. When the commit fails, the writes are kept
    // (one warning until a commit succeeds again) and run again at the head of the
    // next batch, or by flushBatch; only a close that cannot commit them drops them.
    // Once a commit has failed, and until one succeeds, at most MaxKeptWrites are
    // kept: the oldest go first (with one warning), so a batch never replays more
    // than that and the newest states are the ones stored once a commit succeeds. A
    // batch whose commit has not failed keeps every write, however many.
    // changed and newRowId, when given, receive the number of rows the statement
    // changed and the id of the row it inserted.
    bool execBound(const QString &sql, const QVariantList &values, int *changed = nullptr,
                   qint64 *newRowId = nullptr);
    QSqlQuery queryBound(const QString &sql, const QVariantList &values);
    static constexpr int BatchMs = 100;
    static constexpr int MaxKeptWrites = 2000;
    // Commits the gathered writes now, with those kept from a failed commit.
    // Answers whether nothing is left uncommitted.
    bool flushBatch();
    bool batchOpen() const { return m_batchOpen; }
    // The writes not yet committed (the open batch's and those kept from failed commits).
    int pendingWriteCount() const { return m_batchWrites.size(); }
    // The layout readers. ok, when given, tells whether the answer was read: after a
    // failed read the answer is false (or an empty list) and says nothing about the
    // layout, so nothing may be created, dropped or rebuilt on it.
    bool tableExists(const QString &table, bool *ok = nullptr);
    bool fieldExists(const QString &field, const QString &table, bool *ok = nullptr);
    QStringList getTableList(bool *ok = nullptr);
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

    // How long a statement waits for a database that another connection holds
    // before it fails, in milliseconds; tests shorten it. Applies to connections
    // opened afterwards, with these options.
    static int busyTimeoutMs;
    static QString connectOptions();
    // The same wait for the connection open now, until it closes.
    void setBusyTimeout(int ms);

    // Name of the connection in Qt's list of connections ("default_%d"), empty
    // when there is no handle. For tests and diagnostics.
    QString connectionName() const { return m_connectionName; }

    // SQLite's own handle of the open connection, for work that SQL cannot do (the
    // stepped copy of the database); null when it is not open. Valid until close(),
    // which says aboutToClose() first.
    sqlite3 *handle() const;

public slots:
    void close();

signals:
    // Emitted at the start of close() (open() and the destructor close too), while
    // the handle is still valid: work that holds it lets go now.
    void aboutToClose();

private:
    void ensureOpen();
    // The kept statement of sql, prepared on first use; bound and run.
    bool runBound(const QString &sql, const QVariantList &values, QSqlQuery &query);
    void dropPrepared();
    // While commits fail, drops the oldest kept writes past MaxKeptWrites, warning once.
    void keepNewestWrites();
    void openBatch();
    // Commits the open batch; a failure keeps its writes for the next one.
    void commitBatch();

    struct BatchWrite
    {
        QString sql;
        QVariantList values;
    };

    QSqlDatabase *db = nullptr;
    QSqlError error;
    QString dbName;
    QString m_connectionName;
    QHash<QString, QSqlQuery> m_prepared;
    QTimer *m_batchTimer = nullptr;
    bool m_batchOpen = false;
    // The writes of the open batch, or of a batch whose commit failed.
    QList<BatchWrite> m_batchWrites;
    bool m_commitWarned = false;
    bool m_dropWarned = false;
    int m_transactionDepth = 0;
    bool m_transactionFailed = false;
    QList<std::function<void()>> m_afterCommit;
};
