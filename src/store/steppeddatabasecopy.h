#pragma once

// A copy of the database that the window's own connection has open, taken on the
// window's thread in short slices through SQLite's backup, with the event loop
// running between them. The window's writes go on through the same connection
// meanwhile: SQLite carries each of them into the pages already copied, so the
// copy is the database as it stands when the last slice ends, and no commit of
// the window ever waits for more than one slice. A copy from a connection of its
// own would hold every commit for the whole copy in one read, or, stepped, start
// again after every write.

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class CppSQLite3DB;
struct sqlite3;
struct sqlite3_backup;

class SteppedDatabaseCopy : public QObject
{
    Q_OBJECT
public:
    // Copies the database that connection has open, which must be the file source,
    // into a new file target (an existing one is replaced). Lives on connection's
    // thread. stop, when given and set, gives the copy up at its next slice.
    SteppedDatabaseCopy(CppSQLite3DB &connection, const QString &source, const QString &target,
                        std::shared_ptr<const std::atomic<bool>> stop, QObject *parent = nullptr);
    ~SteppedDatabaseCopy() override;

    // Begins; finished() follows once, later, from the event loop. After a failure,
    // a give-up or the connection's close no file is left at target.
    void start();

    // The time one slice of steps may take before the event loop runs again.
    static constexpr int SliceMs = 8;
    // Pages copied by one step; a slice runs steps until SliceMs have passed.
    static constexpr int PagesPerStep = 64;
    // How long a copy waits while the connection holds a transaction of a caller.
    static constexpr int BusyRetryMs = 5;

    // Test hook: runs on the connection's thread after every slice that did not
    // end the copy. The application never sets it.
    static void setSliceHookForTest(std::function<void()> hook);

signals:
    // ok: target holds the whole copy.
    void finished(bool ok);

private:
    void slice();
    // Lets go of the backup and of the target; removes it unless ok. Says finished(ok).
    void end(bool ok);
    bool stopped() const;

    CppSQLite3DB &m_connection;
    QString m_source;
    QString m_target;
    std::shared_ptr<const std::atomic<bool>> m_stop;
    sqlite3 *m_to = nullptr;
    sqlite3_backup *m_backup = nullptr;
    bool m_ended = false;
};
