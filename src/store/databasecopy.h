#pragma once

// A copy of a project's database that is whole while the window goes on writing to
// it: SQLite's backup, read from a read-only connection of its own in one step, so
// the copy is the database as one transaction left it. Safe on a worker thread.
// The database the window's own connection writes is copied through that
// connection instead, on the window's thread (SteppedDatabaseCopy): one read of
// the whole file would hold every commit of the window for as long as it lasts.

#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class CppSQLite3DB;
struct sqlite3_backup;

class DatabaseCopy
{
public:
    // The database a connection has open and writes to (path), and the flag that
    // gives its copy up once set (nobody waits for the copy any more).
    struct Live
    {
        CppSQLite3DB *connection = nullptr;
        QString path;
        std::shared_ptr<std::atomic<bool>> stop;
    };

    // Copies the database at source into a new file target (an existing one is
    // replaced). A file that does not begin with SQLite's header is copied as it is.
    // Answers whether the copy was written whole; after a failure no file is left at
    // target.
    static bool copy(const QString &source, const QString &target);
    // copy, but when source is live's database and this runs on a thread other than
    // its connection's, the copy is taken through the connection on its thread while
    // this waits: it fails when the connection closes or has another database open
    // by then, when live's stop is set, or at the exit (BackgroundWork::stopping()).
    static bool copy(const QString &source, const QString &target, const Live &live);

    // How long the last copy in this process held its read of the source, in
    // milliseconds: the longest a writer of the source can have waited for it.
    static qint64 lastReadMs();

    // sqlite3_backup_step, through the test hook below: every copy steps through here.
    static int step(sqlite3_backup *backup, int pages);
    // Test hook: the result of every backup step is replaced by fault(the step's
    // number since the hook was set, from 1; its result), to fail a step as a disk
    // error would. The application never sets it.
    static void setStepFaultForTest(std::function<int(int step, int result)> fault);
};
