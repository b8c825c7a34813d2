#include "cppsqlite3db.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QTimer>

#include <sqlite3.h>

#include <utility>

namespace {
// Numbers the connections of this run: "default_0", "default_1", ...
int g_connectionCounter = 0;
} // namespace

int CppSQLite3DB::busyTimeoutMs = 5000;

QString CppSQLite3DB::connectOptions()
{
    return QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs);
}

CppSQLite3DB::CppSQLite3DB()
    : QObject(nullptr)
{
}

CppSQLite3DB::~CppSQLite3DB()
{
    close();
}

void CppSQLite3DB::setDbName(const QString &name)
{
    dbName = name;
}

void CppSQLite3DB::open()
{
    close();
    m_connectionName = QString::asprintf("default_%d", g_connectionCounter++);
    db = new QSqlDatabase(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName));
    db->setDatabaseName(dbName);
    db->setConnectOptions(connectOptions());
    if (!db->open()) {
        qDebug() << "database open error.";
        error = db->lastError();
    }
}

void CppSQLite3DB::close()
{
    emit aboutToClose();
    if (!flushBatch()) {
        // They belong to this database; the next one opened must not get them.
        qWarning() << "Error: device writes lost on closing the database:" << m_batchWrites.size();
        m_batchWrites.clear();
    }
    m_commitWarned = false;
    m_dropWarned = false;
    dropPrepared();
    if (!db)
        return;
    if (m_transactionDepth > 0 && db->isOpen())
        db->rollback();
    m_transactionDepth = 0;
    m_transactionFailed = false;
    m_afterCommit.clear();
    if (db->isOpen())
        db->close();
    delete db;
    db = nullptr;
    QSqlDatabase::removeDatabase(m_connectionName);
    m_connectionName.clear();
}

bool CppSQLite3DB::isOpen() const
{
    return db && db->isOpen();
}

sqlite3 *CppSQLite3DB::handle() const
{
    if (!isOpen() || !db->driver())
        return nullptr;
    const QVariant handle = db->driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

void CppSQLite3DB::setBusyTimeout(int ms)
{
    if (sqlite3 *connection = handle())
        sqlite3_busy_timeout(connection, ms);
}

void CppSQLite3DB::ensureOpen()
{
    if (!db || !db->isOpen())
        open();
}

bool CppSQLite3DB::execDML(const QString &sql)
{
    commitBatch();
    ensureOpen();
    QSqlQuery query(*db);
    bool ok = query.prepare(sql) && query.exec();
    if (!ok)
        qDebug() << "Error: Fail to exec sql." << query.lastError();
    return ok;
}

QSqlQuery CppSQLite3DB::execQuery(const QString &sql)
{
    commitBatch();
    ensureOpen();
    QSqlQuery query(*db);
    if (!(query.prepare(sql) && query.exec()))
        qDebug() << "Error: Fail to exec sql." << query.lastError();
    return query;
}

bool CppSQLite3DB::runBound(const QString &sql, const QVariantList &values, QSqlQuery &query)
{
    ensureOpen();
    auto kept = m_prepared.find(sql);
    if (kept == m_prepared.end()) {
        QSqlQuery fresh(*db);
        if (!fresh.prepare(sql)) {
            qDebug() << "Error: Fail to exec sql." << fresh.lastError();
            query = fresh;
            return false;
        }
        kept = m_prepared.insert(sql, fresh);
    }
    query = kept.value();
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec()) {
        qDebug() << "Error: Fail to exec sql." << query.lastError();
        return false;
    }
    return true;
}

bool CppSQLite3DB::execBound(const QString &sql, const QVariantList &values, int *changed, qint64 *newRowId)
{
    openBatch();
    QSqlQuery query;
    const bool ok = runBound(sql, values, query);
    if (changed)
        *changed = ok ? query.numRowsAffected() : 0;
    if (newRowId)
        *newRowId = ok ? query.lastInsertId().toLongLong() : -1;
    // Reset at once: a kept statement must not hold the database.
    query.finish();
    // Kept until committed, to be run again should the commit fail.
    if (ok && m_batchOpen) {
        m_batchWrites.append({sql, values});
        if (m_commitWarned)
            keepNewestWrites();
    }
    return ok;
}

void CppSQLite3DB::keepNewestWrites()
{
    if (m_batchWrites.size() <= MaxKeptWrites)
        return;
    // Commits have failed: the oldest writes go, so that memory and the replay of
    // each batch stay bounded.
    if (!m_dropWarned) {
        qWarning() << "Error: device writes dropped while commits fail; the newest" << MaxKeptWrites
                   << "are kept.";
        m_dropWarned = true;
    }
    m_batchWrites.erase(m_batchWrites.begin(), m_batchWrites.end() - MaxKeptWrites);
}

QSqlQuery CppSQLite3DB::queryBound(const QString &sql, const QVariantList &values)
{
    QSqlQuery query;
    runBound(sql, values, query);
    return query;
}

void CppSQLite3DB::openBatch()
{
    // Inside a caller's transaction the writes are part of it; without an event
    // loop to commit later they are committed one by one.
    if (m_batchOpen || m_transactionDepth > 0 || !QCoreApplication::instance())
        return;
    ensureOpen();
    if (!isOpen() || !db->transaction())
        return;
    m_batchOpen = true;
    // The writes of a batch whose commit failed come first, in their order. One
    // that fails now cannot be committed at all and is left out.
    const QList<BatchWrite> kept = std::exchange(m_batchWrites, {});
    for (const BatchWrite &write : kept) {
        QSqlQuery query;
        if (runBound(write.sql, write.values, query))
            m_batchWrites.append(write);
        query.finish();
    }
    if (!m_batchTimer) {
        m_batchTimer = new QTimer(this);
        m_batchTimer->setSingleShot(true);
        connect(m_batchTimer, &QTimer::timeout, this, &CppSQLite3DB::commitBatch);
    }
    m_batchTimer->start(BatchMs);
}

bool CppSQLite3DB::flushBatch()
{
    if (!m_batchOpen && !m_batchWrites.isEmpty())
        openBatch();
    commitBatch();
    return m_batchWrites.isEmpty();
}

void CppSQLite3DB::commitBatch()
{
    if (!m_batchOpen)
        return;
    m_batchOpen = false;
    if (m_batchTimer)
        m_batchTimer->stop();
    if (!isOpen())
        return;
    if (db->commit()) {
        m_batchWrites.clear();
        m_commitWarned = false;
        m_dropWarned = false;
        return;
    }
    if (!m_commitWarned) {
        qWarning() << "Error: Fail to commit device writes, kept for the next commit." << db->lastError();
        m_commitWarned = true;
    }
    keepNewestWrites();
    // A failed COMMIT may leave the transaction open (a lock, a deferred
    // constraint) or SQLite may have rolled it back already (I/O error, full
    // disk). Either way it ends here, so that the next statement runs on its own;
    // the kept writes are run again at the head of the next batch.
    db->rollback();
}

void CppSQLite3DB::dropPrepared()
{
    for (QSqlQuery &query : m_prepared)
        query.clear();
    m_prepared.clear();
}

bool CppSQLite3DB::tableExists(const QString &table, bool *ok)
{
    return getTableList(ok).contains(table, Qt::CaseSensitive);
}

bool CppSQLite3DB::fieldExists(const QString &field, const QString &table, bool *ok)
{
    commitBatch();
    ensureOpen();
    // Both names are quoted so that a name holding a quote cannot break the text.
    QString t = table;
    QString f = field;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    f.replace(QLatin1Char('\''), QLatin1String("''"));
    const QString sql = QStringLiteral("select * from sqlite_master where name='%1'and sql like '%%2%'")
                            .arg(t, f);
    QSqlQuery query = execQuery(sql);
    const bool found = query.next();
    if (ok)
        *ok = query.isActive() && query.lastError().type() == QSqlError::NoError;
    query.finish();
    return found;
}

QStringList CppSQLite3DB::getTableList(bool *ok)
{
    commitBatch();
    ensureOpen();
    // The list the driver gives (user tables, temporary ones included), read here so
    // that a listing cut short by a failed step is told from a short list.
    QStringList tables;
    bool read = false;
    if (isOpen()) {
        QSqlQuery query(*db);
        query.setForwardOnly(true);
        read =
            query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' "
                                      "UNION ALL SELECT name FROM sqlite_temp_master WHERE type='table'"));
        while (read && query.next())
            tables.append(query.value(0).toString());
        read = read && query.lastError().type() == QSqlError::NoError;
        if (!read) {
            qDebug() << "Error: Fail to read the table list." << query.lastError();
            tables.clear();
        }
    }
    if (ok)
        *ok = read;
    return tables;
}

QString CppSQLite3DB::getError() const
{
    return error.text();
}

bool CppSQLite3DB::beginTransaction()
{
    commitBatch();
    if (m_transactionDepth > 0) {
        ++m_transactionDepth;
        return true;
    }
    ensureOpen();
    if (!isOpen())
        return false;
    if (!db->transaction()) {
        qDebug() << "Error: Fail to begin transaction." << db->lastError();
        return false;
    }
    m_transactionDepth = 1;
    m_transactionFailed = false;
    return true;
}

bool CppSQLite3DB::commitTransaction()
{
    if (m_transactionDepth <= 0)
        return false;
    if (--m_transactionDepth > 0)
        return !m_transactionFailed;
    if (!isOpen())
        return false;
    const QList<std::function<void()>> work = std::exchange(m_afterCommit, {});
    if (m_transactionFailed) {
        db->rollback();
        return false;
    }
    if (!db->commit()) {
        qDebug() << "Error: Fail to commit transaction." << db->lastError();
        db->rollback();
        return false;
    }
    for (const auto &step : work)
        step();
    return true;
}

void CppSQLite3DB::rollbackTransaction()
{
    if (m_transactionDepth <= 0)
        return;
    if (--m_transactionDepth > 0) {
        m_transactionFailed = true;
        return;
    }
    m_afterCommit.clear();
    if (isOpen())
        db->rollback();
}

void CppSQLite3DB::afterCommit(std::function<void()> work)
{
    if (m_transactionDepth > 0)
        m_afterCommit.append(std::move(work));
    else
        work();
}

bool CppSQLite3DB::execTransaction(const QStringList &statements)
{
    if (!beginTransaction())
        return false;
    for (const QString &sql : statements) {
        if (!execDML(sql)) {
            rollbackTransaction();
            return false;
        }
    }
    return commitTransaction();
}
