#include "databasecopy.h"

#include "store/backgroundwork.h"
#include "store/cppsqlite3db.h"
#include "store/steppeddatabasecopy.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSemaphore>
#include <QThread>

#include <sqlite3.h>

#include <atomic>
#include <memory>
#include <utility>

namespace {

std::atomic<qint64> g_lastReadMs{0};

std::function<int(int, int)> g_stepFault;
std::atomic<int> g_steps{0};

// How often a worker waiting for the copy on the connection's thread looks at the exit.
constexpr int WaitPieceMs = 20;

struct Closer
{
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
using Handle = std::unique_ptr<sqlite3, Closer>;

Handle openFile(const QString &path, int flags)
{
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    Handle handle(db);
    if (rc != SQLITE_OK) {
        qDebug() << "DatabaseCopy: cannot open" << path << (db ? sqlite3_errmsg(db) : "");
        return nullptr;
    }
    return handle;
}

} // namespace

bool DatabaseCopy::copy(const QString &source, const QString &target)
{
    // SQLite would make a new, empty database of a missing file.
    if (!QFileInfo(source).isFile())
        return false;
    QFile::remove(target);
    // A file without the header is no database SQLite writes: it is taken as it is,
    // for the receiving end's checks to judge.
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (file.read(16) != QByteArray("SQLite format 3\0", 16)) {
        file.close();
        return QFile::copy(source, target);
    }
    file.close();
    bool written = false;
    {
        Handle from = openFile(source, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX);
        Handle to = openFile(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX);
        if (from && to) {
            // The window's writer commits as it did; a commit under way is waited for
            // as long as it would wait for this read.
            sqlite3_busy_timeout(from.get(), CppSQLite3DB::busyTimeoutMs);
            // The copy is a new file nobody reads until it is whole: no journal.
            sqlite3_exec(to.get(), "pragma journal_mode=off; pragma synchronous=off", nullptr, nullptr,
                         nullptr);
            QElapsedTimer held;
            held.start();
            sqlite3_backup *backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
            // One step reads every page under one read: one consistent state.
            const int rc = backup ? step(backup, -1) : SQLITE_ERROR;
            const int finished = backup ? sqlite3_backup_finish(backup) : SQLITE_ERROR;
            g_lastReadMs = held.elapsed();
            written = rc == SQLITE_DONE && finished == SQLITE_OK;
            if (!written)
                qDebug() << "DatabaseCopy: copying" << source << "failed:" << sqlite3_errmsg(to.get());
        }
        // Closing writes what is left of the copy; a close that fails loses it.
        if (to && sqlite3_close(to.release()) != SQLITE_OK)
            written = false;
    }
    if (!written)
        QFile::remove(target);
    return written;
}

int DatabaseCopy::step(sqlite3_backup *backup, int pages)
{
    const int rc = sqlite3_backup_step(backup, pages);
    return g_stepFault ? g_stepFault(++g_steps, rc) : rc;
}

void DatabaseCopy::setStepFaultForTest(std::function<int(int, int)> fault)
{
    g_steps = 0;
    g_stepFault = std::move(fault);
}

qint64 DatabaseCopy::lastReadMs()
{
    return g_lastReadMs.load();
}

bool DatabaseCopy::copy(const QString &source, const QString &target, const Live &live)
{
    CppSQLite3DB *connection = live.connection;
    const QString canonical = QFileInfo(source).canonicalFilePath();
    if (!connection || QThread::currentThread() == connection->thread() || canonical.isEmpty() ||
        canonical != QFileInfo(live.path).canonicalFilePath())
        return copy(source, target);
    struct Answer
    {
        QSemaphore given;
        std::atomic<bool> ok{false};
    };
    const auto answer = std::make_shared<Answer>();
    const auto stop = live.stop;
    QMetaObject::invokeMethod(
        connection,
        [connection, source, target, stop, answer] {
            auto *stepped = new SteppedDatabaseCopy(*connection, source, target, stop);
            QObject::connect(stepped, &SteppedDatabaseCopy::finished, [stepped, answer](bool ok) {
                answer->ok = ok;
                answer->given.release();
                stepped->deleteLater();
            });
            stepped->start();
        },
        Qt::QueuedConnection);
    // At the exit the window's thread may be waiting for this worker: it is not
    // waited for then. The copy gives up on its own at its next slice.
    while (!answer->given.tryAcquire(1, WaitPieceMs)) {
        if (BackgroundWork::stopping())
            return false;
    }
    return answer->ok.load();
}
