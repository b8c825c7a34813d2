#pragma once

// Creation, repair, upgrade and retention of a project database.

#include <QString>

// The schema version this program writes and upgrades to.
constexpr double kSchemaVersion = 3.01;
// The identity stored in tbl_version.name.
extern const char *const kDatabaseIdentity;

// Opens the project database at path on gl_sqlite3db (which stays there) and
// brings it to the current schema. Answers whether the database was read and now
// holds every table and a version row of this schema: false when it could not be
// opened or read, or when a table could not be made (another writer holds it).
// The checks, repairs, upgrade and retention run as one transaction: when one of
// them cannot be read or fails, the file is left as it was (and the network
// settings are not loaded), to be brought up at its next open.
bool initDatabase(const QString &path);
// Whether the file at path is a project database (its tbl_version names this
// program), read on a connection of its own: gl_sqlite3db is left where it is.
// readable, when given, tells whether the file could be read at all: false (busy,
// locked, an I/O error) means that nothing is known about it.
bool isLegalFormat(const QString &path, bool *readable = nullptr);
// Whether the file at path is a whole SQLite database: a plain file of at least
// one page (512 bytes) that starts with SQLite's header, opens read-only on a
// connection of its own and passes "pragma quick_check". An empty file, any other
// file, and one cut short or damaged are not; neither is one that cannot be read.
// Which schema it holds is not looked at: an older one is brought up when opened.
bool isIntactDatabase(const QString &path);

// Creates, in the database gl_sqlite3db points at, every missing table with its
// fixed rows, the default network row and the identity row; nothing else. False
// when the tables could not be listed or a statement failed; run it inside a
// transaction, which then rolls back.
bool createProjectSchema();

void initTableLogType();
void initTableMessageType();
void initTableMessageStatus();
void initTableServerIp();
void initTableDomain();

// Loads the network globals from tbl_network's first row; without a row they keep
// their values. False when the row could not be read (the globals are then kept).
bool getNetworkConfig();

// Number of days of history to keep, from a "retain_days" text. A text that is
// not a non-negative whole number counts as the default of 30 days.
int retentionDays(const QString &text);

// Deletes the log and message rows older than the retention, as at start-up.
void deleteExpiredRows();
