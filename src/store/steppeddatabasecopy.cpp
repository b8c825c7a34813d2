#include "steppeddatabasecopy.h"

#include "store/backgroundwork.h"
#include "store/cppsqlite3db.h"
#include "store/databasecopy.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <sqlite3.h>

#include <utility>

namespace {

std::function<void()> g_sliceHook;

bool sameFile(const QString &a, const QString &b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

} // namespace

void SteppedDatabaseCopy::setSliceHookForTest(std::function<void()> hook)
{
    g_sliceHook = std::move(hook);
}

SteppedDatabaseCopy::SteppedDatabaseCopy(CppSQLite3DB &connection, const QString &source,
                                         const QString &target,
                                         std::shared_ptr<const std::atomic<bool>> stop, QObject *parent)
    : QObject(parent)
    , m_connection(connection)
    , m_source(source)
    , m_target(target)
    , m_stop(std::move(stop))
{
}

SteppedDatabaseCopy::~SteppedDatabaseCopy()
{
    end(false);
}

bool SteppedDatabaseCopy::stopped() const
{
    return (m_stop && m_stop->load()) || BackgroundWork::stopping();
}

void SteppedDatabaseCopy::start()
{
    // The handle must be let go of before the connection closes it.
    connect(&m_connection, &CppSQLite3DB::aboutToClose, this, [this] { end(false); });
    QFile::remove(m_target);
    sqlite3 *from = m_connection.handle();
    // The connection may have been closed, or moved to another project, since the
    // copy was asked for: what it has open now is not the database asked for.
    const char *open = from ? sqlite3_db_filename(from, "main") : nullptr;
    if (stopped() || !open || !sameFile(QFile::decodeName(open), m_source)) {
        if (!stopped())
            qDebug() << "SteppedDatabaseCopy:" << m_source << "is no longer open on the connection";
        QTimer::singleShot(0, this, [this] { end(false); });
        return;
    }
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    const int opened = sqlite3_open_v2(QFile::encodeName(m_target).constData(), &m_to, flags, nullptr);
    // The copy is a new file nobody reads until it is whole: no journal.
    if (opened == SQLITE_OK &&
        sqlite3_exec(m_to, "pragma journal_mode=off; pragma synchronous=off", nullptr, nullptr, nullptr) ==
            SQLITE_OK)
        m_backup = sqlite3_backup_init(m_to, "main", from, "main");
    if (!m_backup) {
        qDebug() << "SteppedDatabaseCopy: cannot begin copying to" << m_target
                 << (m_to ? sqlite3_errmsg(m_to) : "");
        QTimer::singleShot(0, this, [this] { end(false); });
        return;
    }
    QTimer::singleShot(0, this, &SteppedDatabaseCopy::slice);
}

void SteppedDatabaseCopy::slice()
{
    if (m_ended)
        return;
    if (stopped()) {
        end(false);
        return;
    }
    QElapsedTimer clock;
    clock.start();
    int rc = SQLITE_OK;
    do {
        rc = DatabaseCopy::step(m_backup, PagesPerStep);
    } while (rc == SQLITE_OK && clock.elapsed() < SliceMs);
    if (rc == SQLITE_DONE) {
        end(true);
        return;
    }
    int next = 0;
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        // The connection holds a write transaction. The gathered device writes
        // are committed now rather than when their timer comes; a transaction of
        // a caller is waited for.
        if (!m_connection.batchOpen() || m_connection.inTransaction() || !m_connection.flushBatch())
            next = BusyRetryMs;
    } else if (rc != SQLITE_OK) {
        qDebug() << "SteppedDatabaseCopy: copying" << m_source << "failed:" << sqlite3_errstr(rc);
        end(false);
        return;
    }
    if (g_sliceHook)
        g_sliceHook();
    if (!m_ended)
        QTimer::singleShot(next, this, &SteppedDatabaseCopy::slice);
}

void SteppedDatabaseCopy::end(bool ok)
{
    if (m_ended)
        return;
    m_ended = true;
    disconnect(&m_connection, nullptr, this, nullptr);
    // finish answers the error of a failed step too; the copy is whole only when
    // the last step said so and finish and close both succeed.
    if (m_backup && sqlite3_backup_finish(std::exchange(m_backup, nullptr)) != SQLITE_OK)
        ok = false;
    // Closing writes what is left of the copy; a close that fails loses it.
    if (m_to && sqlite3_close(m_to) != SQLITE_OK) {
        qDebug() << "SteppedDatabaseCopy: closing" << m_target << "failed:" << sqlite3_errmsg(m_to);
        sqlite3_close_v2(m_to);
        ok = false;
    }
    m_to = nullptr;
    if (!ok)
        QFile::remove(m_target);
    emit finished(ok);
}
