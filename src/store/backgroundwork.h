#pragma once

// Work the window hands to worker threads: the user's pictures read, decoded and
// written, projects packed and unpacked. Such work can wait on a file that never
// delivers (a hung network share, a pipe), so the exit waits for it only so long:
// once stopping() is set, work gives up at its next piece, and what is still
// running after the exit's bound is left behind with the process, its unfinished
// files removed first.

#include <QString>

#include <atomic>

class QThreadPool;

namespace BackgroundWork {

// Every pool that runs such work is registered, so that the exit waits for it.
void registerPool(QThreadPool *pool);

// The global pool, registered.
QThreadPool &pool();

// Set once the exit has begun, or once the owner of the work running on this thread
// has given it up (GiveUpScope): work checks it between pieces and gives up.
bool stopping();

// Set once the exit has begun (whatever the owner of the work did).
bool exiting();

// While alive on a worker's thread, stopping() there also answers true once *givenUp
// is set: the owner (a dialog that was closed) sets it to stop its work at the next
// piece. The flag must outlive the scope.
class GiveUpScope
{
public:
    explicit GiveUpScope(const std::atomic<bool> *givenUp);
    ~GiveUpScope();
    GiveUpScope(const GiveUpScope &) = delete;
    GiveUpScope &operator=(const GiveUpScope &) = delete;

private:
    const std::atomic<bool> *m_outer;
};

// A file or folder that unfinished work leaves behind; removed at an exit that
// cannot wait for the work. Taken back with forget() once the work is done with it.
void remember(const QString &path);
void forget(const QString &path);

// Begins the exit: sets stopping() and waits up to msecs for every registered pool.
// Answers whether all work has ended; when it has not, the paths remembered were
// removed and the caller leaves without waiting (leave()).
bool finish(int msecs);

// Ends the process at once with code, without running the destructors of the
// objects the unfinished work still uses. Standard output and error are flushed.
[[noreturn]] void leave(int code);

// Tests only: clears stopping() again.
void resetForTests();

} // namespace BackgroundWork
