#pragma once

// Fails one step of an SQLite statement, as a disk error in the middle of reading
// rows would: the program's own code is unchanged, and Qt sees a real step error
// (next() false, lastError() set). A test executable gets it by linking
// varno_stepfault, which exports sqlite3_step ahead of the SQLite library.

#include <QString>

namespace StepFault {

// The nth step (from 1) of statements whose text contains sqlPart answers
// SQLITE_IOERR, once; the steps after it run as usual. An nth of 0 fails none;
// a negative nth fails every step of them until disarm(), as a damaged page
// would. An empty sqlPart takes every statement.
void arm(const QString &sqlPart, int nth);
// Nothing fails any more; fired(), steps() and failedSql() still tell what
// happened since arm().
void disarm();
// With ends true, a failed step also rolls back the open transaction, as SQLite
// may do on an I/O error or a full disk (VARNO_STEP_FAULT_ROLLBACK set, for a
// preloaded shim).
void setEndsTransaction(bool ends);
// Whether the armed step has been failed since arm().
bool fired();
// How many steps of the chosen statements ran (the failed one included) between
// arm() and disarm().
int steps();
// The text of the statement whose step was failed; empty until one was.
QString failedSql();

} // namespace StepFault
