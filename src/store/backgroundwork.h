#pragma once

// Work the window hands to worker threads: the user's pictures read, decoded and
// written, projects packed and unpacked. Such work can wait on a file that never
// delivers (a hung network share, a pipe), so the exit waits for it only so long:
// once stopping() is set, work gives up at its next piece, and what is still
// running after the exit's bound is left behind with the process, its unfinished
// files removed first.

#include <QString>

class QThreadPool;

namespace BackgroundWork {

// Every pool that runs such work is registered, so that the exit waits for it.
void registerPool(QThreadPool *pool);

// The global pool, registered.
QThreadPool &pool();

// Set once the exit has begun: work checks it between pieces and gives up.
bool stopping();

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
