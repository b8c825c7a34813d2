#include "backgroundwork.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QThreadPool>

#include <atomic>
#include <cstdio>
#include <unistd.h>

namespace {

std::atomic<bool> g_stopping{false};
thread_local const std::atomic<bool> *t_givenUp = nullptr;

QMutex &lock()
{
    static QMutex mutex;
    return mutex;
}

QList<QThreadPool *> &pools()
{
    static QList<QThreadPool *> list;
    return list;
}

QSet<QString> &remembered()
{
    static QSet<QString> set;
    return set;
}

} // namespace

namespace BackgroundWork {

void registerPool(QThreadPool *pool)
{
    QMutexLocker locker(&lock());
    if (!pools().contains(pool))
        pools().append(pool);
}

QThreadPool &pool()
{
    QThreadPool *global = QThreadPool::globalInstance();
    registerPool(global);
    return *global;
}

bool stopping()
{
    return g_stopping.load(std::memory_order_relaxed) ||
           (t_givenUp && t_givenUp->load(std::memory_order_relaxed));
}

bool exiting()
{
    return g_stopping.load(std::memory_order_relaxed);
}

GiveUpScope::GiveUpScope(const std::atomic<bool> *givenUp)
    : m_outer(t_givenUp)
{
    t_givenUp = givenUp;
}

GiveUpScope::~GiveUpScope()
{
    t_givenUp = m_outer;
}

void remember(const QString &path)
{
    QMutexLocker locker(&lock());
    remembered().insert(path);
}

void forget(const QString &path)
{
    QMutexLocker locker(&lock());
    remembered().remove(path);
}

bool finish(int msecs)
{
    g_stopping = true;
    QDeadlineTimer deadline(msecs);
    QList<QThreadPool *> waited;
    {
        QMutexLocker locker(&lock());
        waited = pools();
    }
    bool done = true;
    for (QThreadPool *pool : qAsConst(waited)) {
        pool->clear();
        if (!pool->waitForDone(int(qMax<qint64>(0, deadline.remainingTime()))))
            done = false;
    }
    if (done)
        return true;
    QSet<QString> paths;
    {
        QMutexLocker locker(&lock());
        paths = remembered();
    }
    for (const QString &path : qAsConst(paths)) {
        const QFileInfo info(path);
        if (info.isDir() && !info.isSymLink())
            QDir(path).removeRecursively();
        else
            QFile::remove(path);
    }
    return false;
}

void leave(int code)
{
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(code);
}

void resetForTests()
{
    g_stopping = false;
}

} // namespace BackgroundWork
