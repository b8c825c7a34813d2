#pragma once

// The device-event log: every state a device reports is written to tbl_log, unless
// it equals the newest event logged for the same device, place and type.

#include <QString>

// Logs event of device in the room with the application number room_id, under
// log_type (0 device status, 1 device alert). The place is looked up afresh as
// "region-floor-room"; nothing is logged when the room, its region or its floor
// is missing.
void commitLog(const QString &device, const QString &event, int room_id, int log_type);
