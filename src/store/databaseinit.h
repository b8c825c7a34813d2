#pragma once

// Creation, repair, upgrade and retention of a project database.

#include <QString>

// The schema version this program writes and upgrades to.
constexpr double kSchemaVersion = 3.01;
// The identity stored in tbl_version.name.
extern const char *const kDatabaseIdentity;

void initDatabase(const QString &path);
bool isLegalFormat(const QString &path);

// Creates, in the database gl_sqlite3db points at, every missing table with its
// fixed rows, the default network row and the identity row; nothing else.
void createProjectSchema();

void initTableLogType();
void initTableMessageType();
void initTableMessageStatus();
void initTableServerIp();
void initTableDomain();

void getNetworkConfig();

// Number of days of history to keep, from a "retain_days" text. A text that is
// not a non-negative whole number counts as the default of 30 days.
int retentionDays(const QString &text);

// Deletes the log and message rows older than the retention, as at start-up.
void deleteExpiredRows();
