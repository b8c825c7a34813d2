#pragma once

// The device-event log: every state a device reports is written to tbl_log, unless
// it equals the newest event logged for the same device, place and type.
//
// What a device reports is never dropped for a read or a write that failed: the
// event (and a device state given to storeDeviceState) is kept, with what the
// same device reported after it, in order, in a lane of its own; other devices'
// reports are stored at once. A lane is tried again after a second, then after
// ever longer waits up to 30 s, until its writes are stored. After a minute of
// failures a kept one goes, as do the oldest of the device failing longest past
// 2,000 kept, and the handler set below is told. A failed read of the newest
// event logs the event: a second row is better than a missed one.

#include "store/exitbound.h"

#include <QString>

#include <functional>

// Logs event of device in the room with the application number room_id, under
// log_type (0 device status, 1 device alert). The place is looked up afresh as
// "region-floor-room"; nothing is logged when the room, its region or its floor
// is missing.
void commitLog(const QString &device, const QString &event, int room_id, int log_type);

// Runs sql, the write of a state a device reported, on the current project's
// database; kept and run again as above when it fails.
void storeDeviceState(const QString &sql);

// Tries the kept writes once more now, before their database closes.
void storeKeptDeviceWrites();

// At the exit, before the database closes: stores the kept writes and commits the
// gathered ones (CppSQLite3DB's batch), tried again while they fail, within bound;
// none is given up for its time meanwhile. Answers whether every write is in; what
// is left of the kept ones is logged with its count (the close says the gathered).
bool storeDeviceWritesBeforeExit(ExitBound &bound);

// Called with how many reports were given up (at a limit, or left in a database
// that was closed), so that the user can be told.
void setDeviceWritesLostHandler(std::function<void(int count)> handler);

// The reported events and states not stored yet. For tests and diagnostics.
int keptDeviceWrites();

// Test hook (clock seam): the kept writes' clock ticks every ms milliseconds
// (1000 unless a test changes it).
void setKeptWriteRetryInterval(int ms);
