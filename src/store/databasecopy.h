#pragma once

// A copy of a project's database that is whole while the window goes on writing to
// it: SQLite's backup, read from a read-only connection of its own in one step, so
// the copy is the database as one transaction left it. Safe on a worker thread.

#include <QString>

class DatabaseCopy
{
public:
    // Copies the database at source into a new file target (an existing one is
    // replaced). A file that does not begin with SQLite's header is copied as it is.
    // Answers whether the copy was written whole; after a failure no file is left at
    // target.
    static bool copy(const QString &source, const QString &target);

    // How long the last copy in this process held its read of the source, in
    // milliseconds: the longest a writer of the source can have waited for it.
    static qint64 lastReadMs();
};
